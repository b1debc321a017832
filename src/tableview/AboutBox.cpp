#include "AboutBox.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QLabel>
#include <QVBoxLayout>

namespace spades {

TAboutBox::TAboutBox(QWidget* owner) : QDialog(owner)
{
    setObjectName("dlgAbout");
    setWindowTitle("About Quelbrin Spades");
    auto* layout = new QVBoxLayout(this);

    auto* title = new QLabel("Quelbrin Spades", this);
    QFont titleFont("Times New Roman");
    titleFont.setPixelSize(27);
    titleFont.setBold(true);
    title->setFont(titleFont);
    title->setAlignment(Qt::AlignCenter);
    layout->addWidget(title);

    auto* version = new QLabel("Version " + QApplication::applicationVersion(), this);
    version->setObjectName("lblVersion");
    version->setAlignment(Qt::AlignCenter);
    layout->addWidget(version);

    auto* what = new QLabel(
        "Spades for four seats, each played by a person or by the computer.\n"
        "Every seat scores on its own: there are no partnerships.",
        this);
    what->setAlignment(Qt::AlignCenter);
    layout->addWidget(what);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    layout->addWidget(buttons);
    setFixedSize(sizeHint());
}

}  // namespace spades
