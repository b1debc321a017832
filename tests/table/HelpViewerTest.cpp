#include <gmock/gmock.h>

#include <QFile>
#include <QTextBrowser>

#include "HelpViewer.h"
#include "TablePrompts.h"

using namespace spades;

namespace {

TEST(HelpViewer, ContextNumbersLeadToTheirTopics)
{
    EXPECT_EQ(THelpViewer::TopicUrl(HelpContextTable).fragment(), "table");
    EXPECT_EQ(THelpViewer::TopicUrl(HelpContextPreferences).fragment(), "preferences");
    EXPECT_FALSE(THelpViewer::TopicUrl(12345).hasFragment());
}

TEST(HelpViewer, TheManualHasEveryTopic)
{
    QFile manual(":/help/manual.html");
    ASSERT_TRUE(manual.open(QIODevice::ReadOnly));
    const QByteArray html = manual.readAll();
    for (const char* anchor : {"name=\"table\"", "name=\"preferences\"", "name=\"scoring\"", "name=\"log\""})
        EXPECT_TRUE(html.contains(anchor)) << anchor;
    EXPECT_TRUE(html.contains("Ctrl+Shift+L"));
}

TEST(HelpViewer, ShowsTheRequestedTopic)
{
    THelpViewer viewer;
    viewer.ShowContext(HelpContextPreferences);
    EXPECT_TRUE(viewer.isVisible());
    EXPECT_EQ(viewer.Browser()->source().fragment(), "preferences");
    EXPECT_FALSE(viewer.Browser()->toPlainText().isEmpty());
    viewer.ShowContents();
    EXPECT_FALSE(viewer.Browser()->source().hasFragment());
}

TEST(DisplayTextTest, TurnsCarriageReturnsIntoLineBreaks)
{
    EXPECT_EQ(DisplayText("Sorry:\rneeds 800 x 600"), "Sorry:\nneeds 800 x 600");
    EXPECT_EQ(DisplayText("a\r\nb"), "a\nb");
}

}  // namespace
