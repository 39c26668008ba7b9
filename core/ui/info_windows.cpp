// SPDX-License-Identifier: GPL-2.0-or-later
// Copyright (C) 2026 The Dotwell and Pixvane authors

#include "core/ui/info_windows.h"

#include <algorithm>
#include <iterator>

#include <QCoreApplication>
#include <QEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QVBoxLayout>

#include "core/formats/format_registry.h"
#include "core/formats/format_texts.h"
#include "core/model/canvas.h"
#include "core/model/pixel_grid.h"
#include "core/model/rasterizers.h"
#include "core/platform/qt_prompts.h"
#include "core/ui/page_setup_dialog.h"
#include "core/ui/toolbar_image.h"

// Resources of a static library are registered by hand, outside any namespace.
static void registerProgramIcons() {
    Q_INIT_RESOURCE(program_icons);
}

namespace core {
namespace {

QString text(std::string_view s) {
    return QString::fromUtf8(s.data(), qsizetype(s.size()));
}

// The program's calculators beyond those of its first Open entry, named by the registry.
QString newerCalculators(const CalculatorProfile& profile) {
    const FormatDescriptor& first = formatOf(profile.newFormat);
    std::vector<std::string> calculators, files;
    for (const FormatDescriptor& f : allFormats()) {
        if (!editorOpens(f, first.program) || f.openEntry.position == first.openEntry.position)
            continue;
        if (std::find(calculators.begin(), calculators.end(), f.calculators) == calculators.end())
            calculators.emplace_back(f.calculators);
        files.push_back(QString::fromLatin1(f.extension.data(), qsizetype(f.extension.size()))
                            .toUpper()
                            .toStdString());
    }
    return QCoreApplication::translate("HelpWindow", "%1 pictures (%2 files) open and save too. %3")
        .arg(text(joinedList(calculators)), text(joinedList(files)),
             text(profile.helpNewerCalculators));
}

QString upperName(const CalculatorProfile& profile) {
    return QString::fromLatin1(profile.appName.data(), qsizetype(profile.appName.size())).toUpper();
}

QFont serifFont(const QFont& base) {
    QFont font(QStringLiteral("DejaVu Serif"));
    font.setStyleHint(QFont::Serif);
    font.setPointSizeF(base.pointSizeF());
    return font;
}

} // namespace

QPixmap aboutArtwork(const CalculatorProfile& profile) {
    QImage art(109, 83, QImage::Format_RGB32);
    art.fill(QColor(40, 44, 60));
    QPainter p(&art);
    p.setRenderHint(QPainter::Antialiasing, false);
    // A calculator screen with a circle and a line drawn by the program's own rasterisers.
    const QRect screen(8, 8, 93, 52);
    p.fillRect(screen, QColor::fromRgb(kScreenColour));
    p.setPen(QColor(20, 20, 20));
    p.drawRect(screen.adjusted(-1, -1, 0, 0));
    auto dot = [&](int column, int row) {
        if (column >= 0 && column < 46 && row >= 0 && row < 25)
            p.fillRect(screen.x() + 1 + column * 2, screen.y() + 1 + row * 2, 2, 2, Qt::black);
    };
    rasterCircle({14.5, 12.5}, 9, profile.circleVerticalDivisor, dot);
    rasterLine({24.5, 22.5}, {44.5, 3.5}, dot);
    rasterBox({30.5, 14.5}, {42.5, 21.5}, dot);
    // Keys below the screen.
    for (int row = 0; row < 2; ++row) {
        for (int column = 0; column < 6; ++column)
            p.fillRect(10 + column * 15, 65 + row * 8, 11, 5, QColor(150, 160, 190));
    }
    p.end();
    return QPixmap::fromImage(art);
}

QIcon programIcon(const CalculatorProfile& profile) {
    static const bool registered = (registerProgramIcons(), true);
    (void)registered;
    const QString name =
        QString::fromLatin1(profile.appName.data(), qsizetype(profile.appName.size())).toLower();
    QIcon builtIn;
    for (const int size : {16, 32, 48, 64, 128, 256})
        builtIn.addFile(QStringLiteral(":/icons/%1/%2.png").arg(name).arg(size), QSize(size, size));
    return QIcon::fromTheme(name, builtIn);
}

AboutWindow::AboutWindow(const CalculatorProfile& profile, QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(QStringLiteral("About ") + upperName(profile));
    setModal(true);
    const double t = twipsPerPixel(this);
    setFixedSize(int(5400 / t), int(4200 / t));

    Picture1 = new QLabel(this);
    Picture1->setPixmap(aboutArtwork(profile));
    Picture1->setFixedSize(109, 83);
    placePicture();

    const QString name =
        QString::fromLatin1(profile.appName.data(), qsizetype(profile.appName.size()));
    auto* title = new QLabel(QStringLiteral("<b>%1</b>").arg(upperName(profile)), this);
    title->setGeometry(int(2400 / t), int(300 / t), int(2800 / t), int(400 / t));
    QFont big = title->font();
    big.setPointSizeF(big.pointSizeF() * 1.6);
    title->setFont(big);
    auto* lines = new QLabel(tr("Version 2.6\n\n%1\n\nMade by the Dotwell and Pixvane developers.")
                                 .arg(text(profile.aboutLine)),
                             this);
    lines->setObjectName(name + QStringLiteral("AboutText"));
    lines->setWordWrap(true);
    lines->setGeometry(int(2400 / t), int(900 / t), int(2800 / t), int(2000 / t));

    Command1 = new QPushButton(tr("OK"), this);
    Command1->setGeometry(int(3600 / t), int(3400 / t), int(1200 / t), int(450 / t));
    connect(Command1, &QPushButton::clicked, this, &AboutWindow::Command1_Click);

    Timer1 = new QTimer(this);
    Timer1->setInterval(50);
    connect(Timer1, &QTimer::timeout, this, &AboutWindow::Timer1_Timer);
    centreOnScreen(this);
}

bool AboutWindow::event(QEvent* event) {
    if (event->type() == QEvent::WindowActivate)
        form_activate();
    return QDialog::event(event);
}

void AboutWindow::placePicture() {
    const double t = twipsPerPixel(this);
    Picture1->move(int(240 / t), int(m_pictureTop / t));
}

void AboutWindow::form_activate() {
    // Only the first activation of an opening starts the slide; coming back to the window
    // after a look elsewhere must not throw the picture back down.
    if (!m_slideArmed)
        return;
    m_slideArmed = false;
    Timer1->start();
    m_pictureTop = kStartTop;
    placePicture();
}

void AboutWindow::Timer1_Timer() {
    if (m_pictureTop > kEndTop) {
        m_pictureTop -= 10;
        placePicture();
    }
}

void AboutWindow::Command1_Click() {
    m_pictureTop = kStartTop;
    placePicture();
    Timer1->stop();
    m_slideArmed = true;
    hide();
}

HelpWindow::HelpWindow(const CalculatorProfile& profile, QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frmHelp"));
    setWindowTitle(upperName(profile) + QStringLiteral(" Brief Instructions"));
    setModal(true);

    auto* layout = new QVBoxLayout(this);
    auto label = [&](const QString& text) {
        auto* l = new QLabel(text, this);
        l->setWordWrap(true);
        l->setFont(serifFont(font()));
        l->setTextFormat(Qt::PlainText);
        layout->addWidget(l);
        return l;
    };
    // The instruction labels in their order on the form, then the authorship line.
    QLabel** labels[] = {&Label2, &Label3, &Label4, &Label5, &Label7, &Label9};
    for (size_t i = 0; i < std::size(labels); ++i)
        *labels[i] = label(text(profile.helpTexts[i]));
    Label8 = label(newerCalculators(profile));
    Label6 = label(tr("Written by the Dotwell and Pixvane developers."));
    Label6->setFont(font());

    Command1 = new QPushButton(tr("Close"), this);
    layout->addWidget(Command1, 0, Qt::AlignHCenter);
    connect(Command1, &QPushButton::clicked, this, &HelpWindow::Command1_Click);
    setFixedWidth(520);
    adjustSize();
    centreOnScreen(this);
}

void HelpWindow::Command1_Click() {
    hide();
}

void InformationWindows::pageSetup(int rows, int columns) {
    if (!m_pageSetup)
        m_pageSetup = new PageSetupDialog(m_profile, m_settings, m_window);
    m_pageSetup->setPictureSize(rows, columns);
    m_pageSetup->show();
    m_pageSetup->raise();
    m_pageSetup->activateWindow();
}

void InformationWindows::about() {
    if (!m_about)
        m_about = new AboutWindow(m_profile, m_window);
    m_prompts.showInformation(m_about);
}

void InformationWindows::help() {
    if (!m_help)
        m_help = new HelpWindow(m_profile, m_window);
    m_prompts.showInformation(m_help);
}

} // namespace core
