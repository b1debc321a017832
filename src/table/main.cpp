// Quelbrin Spades: the card table.
#include <QApplication>
#include <QScreen>

#include "Application.h"
#include "SpadesU.h"

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    spades::SetUpApplication();
    spades::TfrmMain window;
    if (const QScreen* screen = window.screen()) {
        const QRect area = screen->availableGeometry();
        window.move(area.center() - window.rect().center());
    }
    window.show();
    return application.exec();
}
