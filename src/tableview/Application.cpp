#include "Application.h"

#include <QApplication>
#include <QFile>
#include <QFont>
#include <QIcon>

// The icon's resources live in a static library: they must be asked for by name.
static void InitIconResources()
{
    Q_INIT_RESOURCE(icon);
}

namespace spades {

void SetUpApplication()
{
    InitIconResources();
    QApplication::setApplicationName(ProgramTitle);
    // No display name: on X11 Qt would append it to every dialog's caption.
    QApplication::setApplicationVersion(QUELBRIN_SPADES_VERSION);
    QApplication::setOrganizationName("Tarnwell");
    QApplication::setDesktopFileName(DesktopId);
    // The table's fonts by their usual names; Liberation has the same metrics.
    QFont::insertSubstitution("MS Sans Serif", "Liberation Sans");
    QFont::insertSubstitution("Times New Roman", "Liberation Serif");
    QIcon icon;
    for (int size : {16, 22, 24, 32, 48, 64, 128, 256})
        if (const QString path = QString(":/icon/%1.png").arg(size); QFile::exists(path))
            icon.addFile(path, QSize(size, size));
    QApplication::setWindowIcon(icon);
}

}  // namespace spades
