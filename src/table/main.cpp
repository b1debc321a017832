// Quelbrin Spades: the card table.
#include <QApplication>
#include <QTimer>

#include <cstdio>

#include "Application.h"
#include "JoinCommand.h"
#include "SpadesU.h"

int main(int argc, char** argv)
{
    const QStringList name = spades::net::TakeNameArguments(argc, argv);
    QApplication application(argc, argv);
    spades::SetUpApplication();
    const spades::net::TJoinArguments join = spades::net::ReadJoinArguments(QApplication::arguments() + name);
    if (!join.Request && !join.Error.isEmpty()) {
        std::fprintf(stderr, "quelbrin-spades: %s\nusage: quelbrin-spades [--join HOST:PORT --code CODE [--name NAME]]\n",
                     qUtf8Printable(join.Error));
        return 2;
    }
    spades::TfrmMain window;  // placed where it stood last time, or centred
    window.show();
    if (join.Request)  // once the window is up, as if chosen from its menu
        QTimer::singleShot(0, &window, [&window, &join] { spades::net::JoinFromRequest(window, *join.Request, join.Error); });
    return application.exec();
}
