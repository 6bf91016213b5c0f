// The hint table of the research tree.
#include "ResearchHints.h"

#include "model/ResearchCatalogue.h"

const QString &ResearchHints::slot(int position) const
{
    static const QString none;
    return position >= 0 && position < SlotCount ? m_slots[size_t(position)] : none;
}

void ResearchHints::setSlot(int position, const QString &text)
{
    if (position >= 0 && position < SlotCount)
        m_slots[size_t(position)] = text.left(MaxLength);
}

void ResearchHints::take(const ResearchCatalogue &catalogue)
{
    const auto &nodes = catalogue.nodes();
    for (int position = 0; position < nodes.size(); ++position) {
        if (nodes[position].kind == ResearchCatalogue::Node::Kind::Topic)
            setSlot(position, nodes[position].description);
    }
}
