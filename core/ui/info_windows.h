// SPDX-License-Identifier: GPL-2.0-or-later
// Copyright (C) 2026 The Dotwell and Pixvane authors

#pragma once

#include <QIcon>

#include <QDialog>

#include "core/model/calculator_profile.h"
#include "core/model/page_settings.h"
#include "core/platform/prompts.h"

class QLabel;
class QPushButton;
class QTimer;

namespace core {

// The About window: the program's artwork rises from 2520 to 1300 twips, 10 twips every
// 50 ms, each time the window becomes active after an opening.
class AboutWindow : public QDialog {
    Q_OBJECT
public:
    AboutWindow(const CalculatorProfile& profile, QWidget* parent);

    void form_activate();
    void Timer1_Timer();
    void Command1_Click();

    int pictureTop() const { return m_pictureTop; } // twips
    QLabel* Picture1;
    QTimer* Timer1;
    QPushButton* Command1;

    static constexpr int kStartTop = 2520;
    static constexpr int kEndTop = 1300;

    void reject() override { Command1_Click(); } // the close box and Esc close as OK does

protected:
    bool event(QEvent* event) override;

private:
    void placePicture();
    int m_pictureTop = kStartTop;
    bool m_slideArmed = true; // a new opening replays the slide
};

// Brief instructions.
class HelpWindow : public QDialog {
    Q_OBJECT
public:
    HelpWindow(const CalculatorProfile& profile, QWidget* parent);
    void Command1_Click();

    QLabel* Label2;
    QLabel* Label3;
    QLabel* Label4;
    QLabel* Label5;
    QLabel* Label6;
    QLabel* Label7;
    QLabel* Label8; // the newer calculators
    QLabel* Label9;
    QPushButton* Command1;
};

// The 109 x 83 artwork of the About window, drawn here.
QPixmap aboutArtwork(const CalculatorProfile& profile);

// The program's icon as installed: the icon theme's where it has one, else the same pictures
// built into the program, so an uninstalled build shows it too.
QIcon programIcon(const CalculatorProfile& profile);

class PageSetupDialog;

// The program's windows of information and settings (Page Setup, About, Help), each made
// when it is first asked for and shown again after.
class InformationWindows {
public:
    InformationWindows(const CalculatorProfile& profile, PageSettings& settings, Prompts& prompts,
                       QWidget* window)
        : m_profile(profile), m_settings(settings), m_prompts(prompts), m_window(window) {}

    // Page Setup for a picture of this size.
    void pageSetup(int rows, int columns);
    void about();
    void help();
    PageSetupDialog* pageSetupDialog() const { return m_pageSetup; }
    AboutWindow* aboutWindow() const { return m_about; }
    HelpWindow* helpWindow() const { return m_help; }

private:
    const CalculatorProfile& m_profile;
    PageSettings& m_settings;
    Prompts& m_prompts;
    QWidget* m_window;
    PageSetupDialog* m_pageSetup = nullptr; // children of the window
    AboutWindow* m_about = nullptr;
    HelpWindow* m_help = nullptr;
};

} // namespace core
