// The research catalogue "inet.txt": subjects and their topics with web addresses, and the banner blocks.
#pragma once

#include <QByteArrayView>
#include <QList>
#include <QString>

/// The nodes of the research tree as plain records, in display order: a
/// node's index in `nodes()` is its position in the tree, counted over all
/// nodes from the top.
class ResearchCatalogue final
{
public:
    struct Node
    {
        enum class Kind { Title, Subject, Topic };
        Kind kind = Kind::Topic;
        int parent = -1; // position of the parent node; -1 at the top level
        QString text;
        int image = 0;
        int selectedImage = 0;
        QString address;     // topics only
        QString description; // topics only, whole as written
    };

    /// A "<BITMAP>" block: the banner picture, the home page and the banner's hint.
    struct Banner
    {
        QString fileName;
        QString homepageUrl;
        QString hint;
    };

    /// Image of a data set title, and the selected image of every subject.
    static constexpr int TitleImage = 2;
    static constexpr int SubjectSelectedImage = 0;

    /// "inet.txt"
    static const QString &FileName();

    const QList<Node> &nodes() const { return m_nodes; }
    const QList<Banner> &banners() const { return m_banners; }
    void clear();

    /// Replaces the catalogue by "inet.txt" in the program directory. Throws
    /// EInOutError when the file is missing or cannot be read (the catalogue
    /// is then empty), and whatever `read` throws.
    void load();

    /// Appends the blocks of catalogue text: Windows-1252 (UTF-8 after a
    /// byte-order mark), lines ended by CR LF, LF or CR. A tag line must equal
    /// "<DATA>", "<SUBJECT>", "<TOPIC>" or "<BITMAP>" exactly; any other line
    /// outside a block is skipped. A block cut short by the end of the text
    /// reads empty lines. A topic goes under the last title or subject, or to
    /// the top level before there is one.
    ///
    /// An image number that is not a decimal number throws EConvertError
    /// ("'%s' is not a valid integer value"); the nodes and banners before
    /// that block stay, the block's own node is not added.
    void read(QByteArrayView bytes);

private:
    int add(Node node);

    QList<Node> m_nodes;
    QList<Banner> m_banners;
};
