// One node of the grade tree: a subject, a category of a subject, or a grade.
#pragma once

#include "GradeRecord.h"

#include <QString>

#include <memory>
#include <optional>
#include <vector>

/// A node owns its children; a node's address stays the same while it lives,
/// so a view may keep pointers to the nodes it shows.
class GradeNode final
{
public:
    /// Image numbers of the tree view: nodes read from the grade file, nodes
    /// built from the timetable, grades added in the editor.
    static constexpr int FileImage = 0;
    static constexpr int BuiltImage = 1;
    static constexpr int GradeImage = 3;

    GradeNode(const GradeNode &) = delete;
    GradeNode &operator=(const GradeNode &) = delete;

    const QString &text() const { return m_text; }
    void setText(const QString &text) { m_text = text; }
    int image() const { return m_image; }
    void setImage(int image) { m_image = image; }
    /// Categories and grades carry a record; a node read without one has none.
    const std::optional<GradeRecord> &record() const { return m_record; }
    void setRecord(std::optional<GradeRecord> record) { m_record = record; }

    /// 0 for a subject, 1 for a category, 2 for a grade.
    int level() const { return m_level; }
    /// The node above, or nullptr for a subject.
    GradeNode *parent() const { return m_parent; }
    int childCount() const { return int(m_children.size()); }
    GradeNode &child(int index) const { return *m_children.at(size_t(index)); }
    /// Appends a node as the last child.
    GradeNode &addChild(const QString &text, int image, std::optional<GradeRecord> record = std::nullopt);

private:
    friend class GradeTree;
    GradeNode(GradeNode *parent, const QString &text, int image, std::optional<GradeRecord> record);

    GradeNode *m_parent;
    int m_level;
    QString m_text;
    int m_image;
    std::optional<GradeRecord> m_record;
    std::vector<std::unique_ptr<GradeNode>> m_children;
};
