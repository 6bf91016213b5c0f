// The descriptions of the research topics, one slot for each position in the tree.
#pragma once

#include <QString>

#include <array>

class ResearchCatalogue;

/// 101 text slots, numbered 0 to 100; slot n belongs to the tree node at
/// position n. The table is not cleared between loads: a slot keeps its text
/// until a topic at its position writes it again.
class ResearchHints final
{
public:
    static constexpr int SlotCount = 101;
    static constexpr qsizetype MaxLength = 255;

    /// The text of a slot; empty for a position without a slot.
    const QString &slot(int position) const;
    /// Writes a slot, cut to its first 255 characters. A position without a
    /// slot (a catalogue of more than 101 nodes) is left out.
    void setSlot(int position, const QString &text);
    /// Every topic of the catalogue writes its description into the slot of its position.
    void take(const ResearchCatalogue &catalogue);

private:
    std::array<QString, SlotCount> m_slots;
};
