// Quelbrin Spades: the card table.
#include <QApplication>

#include "Application.h"
#include "SpadesU.h"

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    spades::SetUpApplication();
    spades::TfrmMain window;  // placed where it stood last time, or centred
    window.show();
    return application.exec();
}
