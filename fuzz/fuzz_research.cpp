// Fuzzes the reader of the research catalogue "inet.txt": every node it keeps hangs in a tree of titles, subjects and topics.
#include "FuzzCheck.h"

#include "model/ResearchCatalogue.h"
#include "platform/Errors.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArrayView input(reinterpret_cast<const char *>(data), qsizetype(size));
    using Kind = ResearchCatalogue::Node::Kind;
    ResearchCatalogue catalogue;
    bool complete = true;
    try {
        catalogue.read(input);
    } catch (const EConvertError &) {
        complete = false; // an image number that is not a number ends the reading
    }

    const QList<ResearchCatalogue::Node> &nodes = catalogue.nodes();
    for (qsizetype i = 0; i < nodes.size(); ++i) {
        const ResearchCatalogue::Node &node = nodes[i];
        if (node.kind == Kind::Topic) {
            // A topic goes under an earlier title or subject, or to the top level.
            FUZZ_CHECK(node.parent >= -1 && node.parent < i);
            if (node.parent >= 0)
                FUZZ_CHECK(nodes[node.parent].kind != Kind::Topic);
            FUZZ_CHECK(node.image == node.selectedImage);
        } else {
            FUZZ_CHECK(node.parent == -1);
            FUZZ_CHECK(node.address.isEmpty() && node.description.isEmpty());
            if (node.kind == Kind::Title)
                FUZZ_CHECK(node.image == ResearchCatalogue::TitleImage && node.selectedImage == ResearchCatalogue::TitleImage);
            else
                FUZZ_CHECK(node.selectedImage == ResearchCatalogue::SubjectSelectedImage);
        }
        // Lines never keep their line ends.
        FUZZ_CHECK(!node.text.contains(u'\n') && !node.text.contains(u'\r'));
    }

    // Reading appends: the same text read twice gives every node twice, the
    // second copy's parents shifted by the first copy's size.
    if (complete && nodes.size() < 200) {
        ResearchCatalogue twice;
        twice.read(input);
        twice.read(input);
        const qsizetype n = nodes.size();
        FUZZ_CHECK(twice.nodes().size() == 2 * n);
        FUZZ_CHECK(twice.banners().size() == 2 * catalogue.banners().size());
        for (qsizetype i = 0; i < n; ++i) {
            const ResearchCatalogue::Node &copy = twice.nodes()[n + i];
            FUZZ_CHECK(copy.text == nodes[i].text && copy.address == nodes[i].address && copy.kind == nodes[i].kind);
            // Each reading starts at the top level.
            const int parent = nodes[i].parent;
            FUZZ_CHECK(copy.parent == (parent < 0 ? -1 : parent + int(n)));
        }
    }
    return 0;
}
