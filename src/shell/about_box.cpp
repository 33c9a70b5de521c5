#include "about_box.h"

#include "localization/qt_text.h"
#include "localization/string_table.h"
#include "runtime/globals.h"

#include <QApplication>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

namespace hunt {

TAboutbox::TAboutbox(const GlobalSettings &settings, QWidget *parent)
    : QDialog(parent), settings_(settings) {
    setObjectName("TAboutbox");
    setModal(true);

    Panel1 = new QFrame(this);
    Panel1->setFrameShape(QFrame::Panel);
    Panel1->setFrameShadow(QFrame::Sunken);
    ProgramIcon = new QLabel(Panel1);
    ProgramIcon->setPixmap(style()->standardIcon(QStyle::SP_MediaVolume).pixmap(32, 32));
    ProgramIcon->setFixedSize(32, 32);
    ProgramIcon->setScaledContents(true);
    ProductName = new QLabel(Panel1);
    Version = new QLabel(Panel1);
    Copyright = new QLabel(QStringLiteral("A talking BASIC run-time for blind players. "
                                          "Free to use, copy and share."),
                           Panel1);
    Copyright->setWordWrap(true);
    Comments = new QLabel(Panel1);
    for (QLabel *label : {ProductName, Version, Copyright, Comments})
        label->setTextInteractionFlags(Qt::TextSelectableByKeyboard | Qt::TextSelectableByMouse);

    auto *texts = new QVBoxLayout;
    texts->addWidget(ProductName);
    texts->addWidget(Version);
    texts->addWidget(Copyright);
    texts->addWidget(Comments);
    auto *panelLayout = new QHBoxLayout(Panel1);
    panelLayout->addWidget(ProgramIcon, 0, Qt::AlignTop);
    panelLayout->addLayout(texts, 1);

    OKButton = new QPushButton(this);
    OKButton->setDefault(true);
    connect(OKButton, &QPushButton::clicked, this, &QDialog::accept);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(Panel1);
    layout->addWidget(OKButton, 0, Qt::AlignHCenter);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    FormCreate();
}

void TAboutbox::FormCreate() {
    const auto text = [this](int offset) {
        return qtext(TResourceLocalizer::GetText(settings_.languagebase, offset));
    };
    setWindowTitle(text(36));
    ProductName->setText(text(1));
    Version->setText(text(37) + QStringLiteral(" ") + QLatin1String(programVersion));
    OKButton->setText(text(7));
}

} // namespace hunt
