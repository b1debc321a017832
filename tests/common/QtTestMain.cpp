#include <QApplication>
#include <gmock/gmock.h>

// Widget tests run headless; the offscreen platform is also needed when CTest
// lists the tests, before its environment settings apply.
int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ::testing::InitGoogleMock(&argc, argv);
    return RUN_ALL_TESTS();
}
