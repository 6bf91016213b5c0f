// One node of the grade tree.
#include "GradeNode.h"

GradeNode::GradeNode(GradeNode *parent, const QString &text, int image, std::optional<GradeRecord> record)
    : m_parent(parent)
    , m_level(parent ? parent->m_level + 1 : 0)
    , m_text(text)
    , m_image(image)
    , m_record(record)
{
}

GradeNode &GradeNode::addChild(const QString &text, int image, std::optional<GradeRecord> record)
{
    m_children.push_back(std::unique_ptr<GradeNode>(new GradeNode(this, text, image, record)));
    return *m_children.back();
}
