// Quelbrin Spades: the card table.
#include <QApplication>
#include <QFont>
#include <QScreen>

#include "SpadesU.h"

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    QApplication::setApplicationName("Quelbrin Spades");
    QApplication::setApplicationDisplayName("Quelbrin Spades");
    QApplication::setApplicationVersion(QUELBRIN_SPADES_VERSION);
    QApplication::setOrganizationName("Tarnwell");
    QApplication::setDesktopFileName("quelbrin-spades");
    // The table's fonts by their usual names; Liberation has the same metrics.
    QFont::insertSubstitution("MS Sans Serif", "Liberation Sans");
    QFont::insertSubstitution("Times New Roman", "Liberation Serif");

    spades::TfrmMain window;
    if (const QScreen* screen = window.screen()) {
        const QRect area = screen->availableGeometry();
        window.move(area.center() - window.rect().center());
    }
    window.show();
    return application.exec();
}
