// The research tab: the catalogue as a tree with descriptions, links to the browser, the banner and the refresh.
#include "ResearchTab.h"

#include "ResearchBrowser.h"
#include "ResearchDownload.h"
#include "ResearchImages.h"
#include "ResearchServer.h"
#include "platform/ErrorReporter.h"

#include <QFileInfo>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QTextDocument>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

constexpr int kPositionRole = Qt::UserRole;
constexpr int kAddressRole = Qt::UserRole + 1;
constexpr int kTopicRole = Qt::UserRole + 2;

constexpr QSize kBannerSize(200, 80);

// A hint from a downloaded catalogue is shown as the text it is, never as markup.
QString plainToolTip(const QString &text)
{
    return Qt::mightBeRichText(text) ? QStringLiteral("<p>") + text.toHtmlEscaped() + QStringLiteral("</p>") : text;
}

}

ResearchTab::ResearchTab(QWidget *parent)
    : QWidget(parent)
    , ImageList1(ResearchImages::draw())
    , m_download(new ResearchDownload(this))
    , m_homepageUrl(ResearchServer::ResearchBaseUrl())
{
    setupUi();
}

void ResearchTab::setupUi()
{
    setObjectName(QStringLiteral("ResearchTab"));

    ITreeView1 = new QTreeWidget(this);
    ITreeView1->setObjectName(QStringLiteral("ITreeView1"));
    ITreeView1->setHeaderHidden(true);
    ITreeView1->setAccessibleName(QStringLiteral("Recherche-Themen"));
    ITreeView1->setAccessibleDescription(QStringLiteral("Die Themen und Links des Katalogs; ein Link öffnet sich im Browser"));
    ITreeView1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    ITreeView1->setMouseTracking(true);
    ITreeView1->viewport()->setMouseTracking(true);
    ITreeView1->viewport()->installEventFilter(this);
    connect(ITreeView1, &QTreeWidget::itemDoubleClicked, this, ErrorReporter::handler(this, &ResearchTab::ITreeView1DblClick));

    Bevel1 = new QFrame(this);
    Bevel1->setObjectName(QStringLiteral("Bevel1"));
    Bevel1->setFrameStyle(QFrame::Box | QFrame::Sunken);
    Bevel1->setLineWidth(1);
    Bevel1->setToolTip(QStringLiteral("Besuchen Sie unsere Homepage..."));
    Image5 = new QLabel(Bevel1);
    Image5->setObjectName(QStringLiteral("Image5"));
    Image5->setScaledContents(true);
    Image5->setFixedSize(kBannerSize);
    Image5->setToolTip(QStringLiteral("Besuchen Sie unsere Hompage..."));
    Image5->setCursor(Qt::PointingHandCursor);
    Image5->installEventFilter(this);
    auto *bevelLayout = new QVBoxLayout(Bevel1);
    bevelLayout->setContentsMargins(2, 2, 2, 2);
    bevelLayout->addWidget(Image5);

    HintBox = new QLabel(this);
    HintBox->setObjectName(QStringLiteral("HintBox"));
    HintBox->setTextFormat(Qt::PlainText);
    HintBox->setWordWrap(true);
    HintBox->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    HintBox->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    HintBox->setMargin(4);
    HintBox->setFixedWidth(Bevel1->sizeHint().width());
    HintBox->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Expanding);

    IButton11 = new QPushButton(QStringLiteral("Daten &Aktualisieren"), this);
    IButton11->setObjectName(QStringLiteral("IButton11"));
    IButton11->setToolTip(QStringLiteral("Neuen Datensatz aus dem Internet herunterladen und Datenbestandaktualisieren"));
    connect(IButton11, &QPushButton::clicked, this, ErrorReporter::handler(this, &ResearchTab::IButton11Click));

    Infolabel = new QLabel(this);
    Infolabel->setObjectName(QStringLiteral("Infolabel"));
    Infolabel->setTextFormat(Qt::PlainText);

    connect(m_download, &ResearchDownload::infoChanged, Infolabel, &QLabel::setText);
    connect(m_download, &ResearchDownload::catalogueBusyChanged, IButton11, [this](bool busy) { IButton11->setEnabled(!busy); });

    auto *side = new QVBoxLayout;
    side->setSpacing(8);
    side->addWidget(Bevel1);
    side->addWidget(HintBox, 1);
    side->addWidget(IButton11);
    auto *top = new QHBoxLayout;
    top->setSpacing(8);
    top->addWidget(ITreeView1, 1);
    top->addLayout(side);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(8, 8, 8, 8);
    layout->addLayout(top, 1);
    layout->addWidget(Infolabel);
}

void ResearchTab::LoadResearchTree()
{
    ResearchCatalogue catalogue;
    try {
        catalogue.load();
    } catch (...) {
        ShowCatalogue(catalogue);
        throw;
    }
    ShowCatalogue(catalogue);
}

// The tree, the hint slots and the home page anew; the banner picture and its
// hint change only for a "<BITMAP>" block whose picture is there.
void ResearchTab::ShowCatalogue(const ResearchCatalogue &catalogue)
{
    using Kind = ResearchCatalogue::Node::Kind;
    m_homepageUrl = ResearchServer::ResearchBaseUrl();
    ITreeView1->clear();
    QList<QTreeWidgetItem *> items;
    for (const ResearchCatalogue::Node &node : catalogue.nodes()) {
        auto *item = node.parent < 0 ? new QTreeWidgetItem(ITreeView1) : new QTreeWidgetItem(items[node.parent]);
        item->setText(0, node.text);
        item->setIcon(0, nodeIcon(node.image, node.selectedImage));
        item->setData(0, kPositionRole, int(items.size()));
        item->setData(0, kTopicRole, node.kind == Kind::Topic);
        if (node.kind == Kind::Topic)
            item->setData(0, kAddressRole, node.address);
        items.append(item);
    }
    m_hints.take(catalogue);
    for (const ResearchCatalogue::Banner &banner : catalogue.banners())
        ShowBanner(banner);
}

void ResearchTab::ShowBanner(const ResearchCatalogue::Banner &banner)
{
    m_homepageUrl = banner.homepageUrl;
    const QString path = ResearchServer::BannerPath(banner.fileName);
    QPixmap picture;
    if (path.isEmpty() || !QFileInfo(path).isFile() || !picture.load(path))
        return;
    Image5->setPixmap(picture);
    Image5->setToolTip(plainToolTip(banner.hint));
}

// The normal picture and, for a selected node, the selected one.
QIcon ResearchTab::nodeIcon(int image, int selectedImage) const
{
    QIcon icon;
    if (image >= 0 && image < ImageList1.size())
        icon.addPixmap(ImageList1[image], QIcon::Normal);
    if (selectedImage >= 0 && selectedImage < ImageList1.size())
        icon.addPixmap(ImageList1[selectedImage], QIcon::Selected);
    return icon;
}

void ResearchTab::IButton11Click()
{
    ITreeView1->clear();
    ResearchCatalogue catalogue;
    try {
        m_download->Refresh(catalogue);
    } catch (...) {
        ShowCatalogue(catalogue);
        throw;
    }
    ShowCatalogue(catalogue);
}

void ResearchTab::ITreeView1DblClick()
{
    const QTreeWidgetItem *node = ITreeView1->currentItem();
    if (node && node->parent())
        OpenInBrowser(node->data(0, kAddressRole).toString());
}

void ResearchTab::Image5DblClick()
{
    OpenInBrowser(m_homepageUrl);
}

void ResearchTab::ITreeView1MouseMove(const QPoint &position)
{
    const QTreeWidgetItem *node = ITreeView1->itemAt(position);
    if (!node)
        return;
    // Titles and subjects have no description; their slot may still hold one of an earlier catalogue.
    HintBox->setText(node->data(0, kTopicRole).toBool() ? m_hints.slot(node->data(0, kPositionRole).toInt()) : QString());
}

void ResearchTab::OpenInBrowser(const QString &address)
{
    const QString message = ResearchBrowser::OpenInBrowser(address);
    if (!message.isEmpty())
        Infolabel->setText(message);
}

bool ResearchTab::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == ITreeView1->viewport() && event->type() == QEvent::MouseMove)
        ITreeView1MouseMove(static_cast<QMouseEvent *>(event)->position().toPoint());
    else if (watched == Image5 && event->type() == QEvent::MouseButtonDblClick)
        ErrorReporter::guarded([this] { Image5DblClick(); });
    return QWidget::eventFilter(watched, event);
}
