// SPDX-License-Identifier: GPL-2.0-or-later
// Copyright (C) 2026 The Dotwell and Pixvane authors

#include "core/model/calculator_profile.h"

namespace core {
namespace {

constexpr std::string_view kDrawHelp =
    "On the picture box, use the left mouse button to draw and the right mouse button to pop up "
    "the drawing tools menu.";

} // namespace

const CalculatorProfile& CalculatorProfile::dotwell() {
    static const CalculatorProfile profile{
        .appName = "Dotwell",
        .appTitle = "Dotwell 2.6",
        .rows = 63,
        .columns = 96,
        .cellFill = 0.8,
        .circleVerticalDivisor = 0.92,
        .ellipseVerticalFactor = 1.15,
        .previewCircleAspect = 0.95,
        .defaultZoom = 7,
        .newFormat = FormatId::Ti82,
        .importScansOnePast = false,
        .importRowCentre = 31,
        .importColumnCentre = 47,
        .importLargeRows = 63,
        .importLargeColumns = 96,
        .importToolbarOnNo = true,
        .aboutLine = "Views, edits and saves TI-82, TI-83, TI-83 Plus and TI-84 Plus pictures.",
        .helpTexts = {kDrawHelp,
                      "Use this program to view, edit, create, and save TI-82/3 Image (PIC) "
                      "files. The image can be printed or downloaded to a TI-82/3 calculator "
                      "using TI's Graph-Link cable and software.",
                      "Use the File menu to Open, Save, and Print images. In 'Save As...' you "
                      "can save the image as a BMP file, but you cannot 'Open' a BMP file. Use "
                      "'Import...' to import BMP, ICO, WMF, and RLE files.",
                      "Use the Draw menu to Clear the image or choose a tool. You cannot save a "
                      "clear image and you must save or clear an existing image before opening "
                      "another.",
                      "TI-82, TI-83 and TI Graph-Link are registered trademarks of Texas "
                      "Instruments, Inc.",
                      "Use the PIC radio buttons to determine the PIC variable to use when "
                      "donloading to a TI-82/3. Use 7, 8, 9, and 0 for 83I files only. The "
                      "comment is stored in the computer file only, not the image in the "
                      "calculator."},
        .helpNewerCalculators = "The TI-83 Plus, TI-84 Plus and TI-73 have every PIC variable, "
                                "1 to 9 and 0; a TI-85 or TI-86 picture has a name instead. A "
                                "TI-84 Plus CE picture is drawn in its 15 colours or none, a "
                                "background image (Image1 to Image0) in any colour: choose the "
                                "colour under the picture.",
    };
    return profile;
}

const CalculatorProfile& CalculatorProfile::pixvane() {
    static const CalculatorProfile profile{
        .appName = "Pixvane",
        .appTitle = "Pixvane 2.6",
        .rows = 103,
        .columns = 240,
        .cellFill = 0.8,
        .circleVerticalDivisor = 1.0,
        .ellipseVerticalFactor = 1.0,
        .previewCircleAspect = 1.0,
        .defaultZoom = 4,
        .newFormat = FormatId::Ti92,
        .importScansOnePast = true,
        .importRowCentre = 51,
        .importColumnCentre = 120,
        .importLargeRows = 104,
        .importLargeColumns = 240,
        .importToolbarOnNo = false,
        .aboutLine = "Views, edits and saves TI-92, TI-92 Plus and Voyage 200 pictures.",
        .helpTexts = {kDrawHelp,
                      "Use this program to view, edit, create, and save Texas Instruments 92I "
                      "files. The image can be printed or downloaded to a TI-92 computer using "
                      "Texas Instruments' Graph-Link cable and software.",
                      "Use the File menu to Open, Save, and Print images. In 'Save As...' you "
                      "can also save the image as a BMP. You can import b/w BMP, ICO, RLE, and "
                      "WMF files.",
                      "Use the Draw menu to Clear the image and choose a tool. You cannot save "
                      "a cleared image.  You must clear or save an edited image before opening "
                      "another. ",
                      "TI-92 and TI Graph-Link are registered trademarks of Texas Instruments, "
                      "Inc.",
                      "The 92 Folder and Var Name can be different from the DOS filename, but "
                      "use caution. The 92 Names must comply with TI-92 standards. The comment "
                      "is saved in the 92I file only, not the BMP file or in the calculator."},
        .helpNewerCalculators = "The name's extension decides which calculator a saved file "
                                "is for.",
    };
    return profile;
}

} // namespace core
