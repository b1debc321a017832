// Joining a table straight from the command line, for desktop launchers and
// links: quelbrin-spades --join HOST:PORT --code CODE [--name NAME].
#pragma once

#include <QString>
#include <QStringList>

#include <optional>

namespace spades::net {

class TNetTableHost;

struct TJoinRequest {
    QString Host;
    int Port = 7455;
    QString Code;
    QString Name;
};

struct TJoinArguments {
    std::optional<TJoinRequest> Request;  // none: the window's own table
    QString Error;                        // what was wrong with the arguments, if anything
};

// Qt takes "--name" for itself (the program's name on X11), so it is taken out
// of argv before QApplication sees it, and given back to be read here.
QStringList TakeNameArguments(int& argc, char** argv);

// Reads the program's arguments (the program's name first). Port and the rest
// may be missing or wrong: the join dialog then asks for them.
TJoinArguments ReadJoinArguments(const QStringList& arguments);

// Sits at the table when the request is complete and nothing was wrong, else
// opens the join dialog filled in with it and saying what is wrong.
void JoinFromRequest(TNetTableHost& window, const TJoinRequest& request, const QString& problem = {});

}  // namespace spades::net
