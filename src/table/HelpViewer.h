// The manual, built into the program, in a window of its own. Topics are found
// by the help context numbers the windows carry.
#pragma once

#include <QUrl>
#include <QWidget>

class QTextBrowser;

namespace spades {

constexpr int HelpContextTable = 41000;
constexpr int HelpContextPreferences = 41003;

class THelpViewer : public QWidget {
    Q_OBJECT
public:
    explicit THelpViewer(QWidget* parent = nullptr);

    void ShowContents();
    void ShowContext(int context);
    // Where a context number leads; unknown numbers lead to the contents.
    static QUrl TopicUrl(int context);

    QTextBrowser* Browser() const { return FBrowser; }

private:
    void Show(const QUrl& url);

    QTextBrowser* FBrowser = nullptr;
};

}  // namespace spades
