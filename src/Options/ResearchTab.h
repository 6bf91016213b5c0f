// The "Internet - Recherche" tab of the settings window: the tree of research links, the banner and the refresh.
#pragma once

#include "model/ResearchCatalogue.h"
#include "ResearchHints.h"

#include <QList>
#include <QPixmap>
#include <QWidget>

class QFrame;
class QLabel;
class QPushButton;
class QTreeWidget;
class ResearchDownload;

class ResearchTab final : public QWidget
{
    Q_OBJECT
public:
    explicit ResearchTab(QWidget *parent = nullptr);

    /// Shows the catalogue "inet.txt" of the program directory. What was read
    /// stays shown when the reading fails; the failure (EInOutError for a
    /// missing file, EConvertError for a wrong image number) is then thrown
    /// for the caller's message box.
    void LoadResearchTree();

    /// What a double-click on the banner opens: the research directory, or
    /// the home page of the catalogue's last "<BITMAP>" block.
    const QString &HomepageUrl() const { return m_homepageUrl; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void setupUi();
    void ShowCatalogue(const ResearchCatalogue &catalogue);
    void ShowBanner(const ResearchCatalogue::Banner &banner);
    QIcon nodeIcon(int image, int selectedImage) const;

    void IButton11Click();
    void ITreeView1DblClick();
    void Image5DblClick();
    void ITreeView1MouseMove(const QPoint &position);
    void OpenInBrowser(const QString &address);

    QTreeWidget *ITreeView1 = nullptr;
    QList<QPixmap> ImageList1;
    QLabel *HintBox = nullptr;
    QLabel *Infolabel = nullptr;
    QFrame *Bevel1 = nullptr;
    QLabel *Image5 = nullptr;
    QPushButton *IButton11 = nullptr;

    ResearchDownload *m_download = nullptr;
    ResearchHints m_hints; // lives as long as the tab and is not cleared between loads
    QString m_homepageUrl;
};
