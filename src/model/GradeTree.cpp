// The grade tree.
#include "GradeTree.h"

namespace {
void appendPreOrder(GradeNode &node, std::vector<GradeNode *> &nodes)
{
    nodes.push_back(&node);
    for (int i = 0; i < node.childCount(); ++i)
        appendPreOrder(node.child(i), nodes);
}
}

GradeNode &GradeTree::addRoot(const QString &text, int image, std::optional<GradeRecord> record)
{
    m_roots.push_back(std::unique_ptr<GradeNode>(new GradeNode(nullptr, text, image, record)));
    return *m_roots.back();
}

std::vector<GradeNode *> GradeTree::preOrder() const
{
    std::vector<GradeNode *> nodes;
    for (const auto &root : m_roots)
        appendPreOrder(*root, nodes);
    return nodes;
}
