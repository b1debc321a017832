#include "JoinCommand.h"

#include <QCommandLineParser>
#include <QLabel>
#include <QLineEdit>
#include <QSpinBox>

#include "NetDialogs.h"
#include "NetTableHost.h"
#include "TablePrompts.h"

namespace spades::net {

namespace {
// HOST, HOST:PORT, [IPV6] or [IPV6]:PORT; an IPv6 address alone has no port.
bool SplitHostPort(const QString& text, TJoinRequest& request)
{
    QString host = text.trimmed();
    QString port;
    if (host.startsWith(u'[')) {
        const auto close = host.indexOf(u']');
        if (close < 0)
            return false;
        const QString rest = host.mid(close + 1);
        if (!rest.isEmpty() && !rest.startsWith(u':'))
            return false;
        port = rest.mid(1);
        host = host.mid(1, close - 1);
    } else if (host.count(u':') == 1) {
        port = host.section(u':', 1);
        host = host.section(u':', 0, 0);
    }
    if (host.isEmpty())
        return false;
    int number = request.Port;
    if (!port.isEmpty()) {
        bool ok = false;
        number = port.toInt(&ok);
        if (!ok || number < 1 || number > 65535)
            return false;
    }
    request.Host = host;
    request.Port = number;
    return true;
}
}  // namespace

QStringList TakeNameArguments(int& argc, char** argv)
{
    QStringList taken;
    int kept = 1;
    for (int i = 1; i < argc; ++i) {
        const QString argument = QString::fromLocal8Bit(argv[i]);
        if (argument == QLatin1String("--name") && i + 1 < argc) {
            taken << argument << QString::fromLocal8Bit(argv[++i]);
        } else if (argument.startsWith(QLatin1String("--name="))) {
            taken << argument;
        } else {
            argv[kept++] = argv[i];
        }
    }
    argc = kept;
    argv[argc] = nullptr;
    return taken;
}

TJoinArguments ReadJoinArguments(const QStringList& arguments)
{
    QCommandLineParser parser;
    const QCommandLineOption join(QStringLiteral("join"), QString(), QStringLiteral("HOST:PORT"));
    const QCommandLineOption code(QStringLiteral("code"), QString(), QStringLiteral("CODE"));
    const QCommandLineOption name(QStringLiteral("name"), QString(), QStringLiteral("NAME"));
    parser.addOptions({join, code, name});
    TJoinArguments result;
    if (!parser.parse(arguments)) {
        result.Error = parser.errorText();
        return result;
    }
    if (!parser.positionalArguments().isEmpty())
        result.Error = QStringLiteral("Unexpected argument: %1").arg(parser.positionalArguments().first());
    if (!parser.isSet(join)) {
        if (result.Error.isEmpty() && (parser.isSet(code) || parser.isSet(name)))
            result.Error = QStringLiteral("--code and --name go with --join HOST:PORT");
        return result;
    }
    TJoinRequest request;
    if (!SplitHostPort(parser.value(join), request) && result.Error.isEmpty())
        result.Error = QStringLiteral("--join takes HOST:PORT, not \"%1\"").arg(parser.value(join));
    request.Code = parser.value(code);
    request.Name = parser.value(name);
    result.Request = request;
    return result;
}

void JoinFromRequest(TNetTableHost& window, const TJoinRequest& request, const QString& problem)
{
    TJoinTableDialog dialog(window.NetWindow());
    if (!request.Host.isEmpty())
        dialog.FAddress->setText(request.Host);
    dialog.FPortBox->setValue(request.Port);
    dialog.FCodeEdit->setText(request.Code);
    if (!request.Name.isEmpty())
        dialog.FName->setText(request.Name);
    QString why = problem;
    if (auto options = dialog.Options(why.isEmpty() ? &why : nullptr); options && problem.isEmpty()) {
        SitAtTable(window, *options);
        return;
    }
    dialog.ShowProblem(why);
    if (window.Prompts().RunDialog(dialog) != QDialog::Accepted)
        return;
    if (auto options = dialog.Options())
        SitAtTable(window, *options);
}

}  // namespace spades::net
