// The pupil's grades as a tree: subjects, their two categories, and the grades in them.
#pragma once

#include "GradeNode.h"

#include <memory>
#include <vector>

/// The working copy of the grades. Siblings keep the order in which they were added.
class GradeTree final
{
public:
    GradeTree() = default;
    GradeTree(GradeTree &&) = default;
    GradeTree &operator=(GradeTree &&) = default;

    bool isEmpty() const { return m_roots.empty(); }
    void clear() { m_roots.clear(); }
    int rootCount() const { return int(m_roots.size()); }
    GradeNode &root(int index) const { return *m_roots.at(size_t(index)); }
    /// Appends a subject node after the last one.
    GradeNode &addRoot(const QString &text, int image, std::optional<GradeRecord> record = std::nullopt);

    /// Every node in pre-order: a node, then its children in order, then its next sibling.
    std::vector<GradeNode *> preOrder() const;

    /// False while the tree holds only a part of the grade files, because
    /// their reading ended early; saving it would drop the rest. A tree made
    /// in memory is complete.
    bool isComplete() const { return m_complete; }
    void setComplete(bool complete) { m_complete = complete; }

private:
    std::vector<std::unique_ptr<GradeNode>> m_roots;
    bool m_complete = true;
};
