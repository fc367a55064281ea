#include "app/forms/About.h"

#include "app/About.h"
#include "app/forms/HotLabel.h"
#include "platform/Cp1251.h"
#include "platform/forms/ShellOpen.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QVBoxLayout>

namespace {

QLabel* newCentredLabel(QWidget* parent, const char* text, int pointSizeDelta, bool bold)
{
    auto* label = new QLabel(QString::fromUtf8(text), parent);
    label->setAlignment(Qt::AlignCenter);
    QFont f = label->font();
    f.setPointSize(f.pointSize() + pointSizeDelta);
    f.setBold(bold);
    label->setFont(f);
    return label;
}

THotLabel* newLink(QWidget* parent, const TAboutLink& link)
{
    auto* label = new THotLabel(parent);
    label->setText(QString::fromUtf8(link.Caption));
    label->setAlignment(Qt::AlignCenter);
    label->setToolTip(QString::fromUtf8(link.Url));
    // No browser, no reaction: the desktop's handler reports nothing here.
    label->OnClick = [url = std::string(link.Url)] { ShellOpen(url); };
    return label;
}

} // namespace

TAboutForm::TAboutForm(QWidget* parent) : QDialog(parent)
{
    setObjectName("AboutForm");
    setWindowTitle("About");

    Label2 = newCentredLabel(this, "Tarku USB", 8, true);
    Label5 = newCentredLabel(this, "", 2, false);
    Label1 = newCentredLabel(this, "", 0, false);
    lbURL = newLink(this, AboutHomeLink);
    HotLabel1 = newLink(this, AboutSupportLink);
    Memo1 = new QPlainTextEdit(this);
    Memo1->setReadOnly(true);
    Memo1->setFixedHeight(Memo1->fontMetrics().lineSpacing() * 5 + 12);
    Label3 = new QLabel(this);
    Label3->setAlignment(Qt::AlignCenter);
    SpeedButton1 = new QPushButton("OK", this);
    SpeedButton1->setDefault(true);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(SpeedButton1);
    buttons->addStretch(1);

    auto* form = new QVBoxLayout(this);
    form->setContentsMargins(24, 18, 24, 18);
    form->addWidget(Label2);
    form->addWidget(Label5);
    form->addSpacing(6);
    form->addWidget(Label1);
    form->addSpacing(6);
    form->addWidget(lbURL);
    form->addWidget(HotLabel1);
    form->addSpacing(6);
    form->addWidget(Memo1);
    form->addWidget(Label3);
    form->addLayout(buttons);
    // The box fits its contents: the splash, without memo and button, is
    // smaller than the About box.
    form->setSizeConstraint(QLayout::SetFixedSize);
    Memo1->setMinimumWidth(320);

    const std::pair<QObject*, const char*> names[] = {
        {Label1, "Label1"}, {Label2, "Label2"}, {Label3, "Label3"},         {Label5, "Label5"},
        {Memo1, "Memo1"},   {lbURL, "lbURL"},   {HotLabel1, "HotLabel1"}, {SpeedButton1, "SpeedButton1"},
    };
    for (const auto& [object, name] : names)
        object->setObjectName(name);

    connect(SpeedButton1, &QPushButton::clicked, this, &QDialog::accept);
}

void TAboutForm::SetSplashMode(bool splash) { SpeedButton1->setHidden(splash); }

bool TAboutForm::SplashMode() const { return SpeedButton1->isHidden(); }

void TAboutForm::FormShow()
{
    Label1->setText(Cp1251ToQString(VersionLabelText()));
    Label5->setText("The universal programmer");
    if (SplashMode()) {
        Label5->show();
        Memo1->hide();
        Label3->hide();
    } else {
        Memo1->setReadOnly(true);
        Memo1->show();
        Memo1->clear();
        QStringList lines;
        for (const std::string& line : FirmwareInfoLines())
            lines << Cp1251ToQString(line);
        Memo1->setPlainText(lines.join('\n'));
    }
    layout()->activate(); // fit the new contents now, not after the next events
}

void TAboutForm::showEvent(QShowEvent* event)
{
    // Restoring a minimized window is no new showing.
    if (!event->spontaneous())
        FormShow();
    QDialog::showEvent(event);
}
