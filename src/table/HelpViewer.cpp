#include "HelpViewer.h"

#include <QShortcut>

#include <QTextBrowser>
#include <QVBoxLayout>

namespace spades {

namespace {
const QUrl ManualUrl("qrc:/help/manual.html");
}

THelpViewer::THelpViewer(QWidget* parent) : QWidget(parent, Qt::Window)
{
    setObjectName("frmHelp");
    setWindowTitle("Quelbrin Spades Manual");
    resize(640, 560);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    FBrowser = new QTextBrowser(this);
    FBrowser->setOpenExternalLinks(false);
    layout->addWidget(FBrowser);
    // A window of its own: Escape closes it as it closes the dialogs.
    auto* close = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(close, &QShortcut::activated, this, &QWidget::close);
}

QUrl THelpViewer::TopicUrl(int context)
{
    QUrl url = ManualUrl;
    if (context == HelpContextTable)
        url.setFragment("table");
    else if (context == HelpContextPreferences)
        url.setFragment("preferences");
    return url;
}

void THelpViewer::ShowContents() { Show(ManualUrl); }
void THelpViewer::ShowContext(int context) { Show(TopicUrl(context)); }

void THelpViewer::Show(const QUrl& url)
{
    FBrowser->setSource(url);
    if (url.hasFragment())
        FBrowser->scrollToAnchor(url.fragment());
    show();
    raise();
    activateWindow();
}

}  // namespace spades
