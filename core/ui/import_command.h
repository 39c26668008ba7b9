// SPDX-License-Identifier: GPL-2.0-or-later
// Copyright (C) 2026 The Dotwell and Pixvane authors

#pragma once

#include <QImage>
#include <QString>

#include "core/imaging/picture_loader.h"
#include "core/model/calculator_profile.h"
#include "core/model/edit_session.h"
#include "core/model/rasterizers.h"
#include "core/platform/prompts.h"

class QWidget;

namespace core {

// File > Import's questions: which picture, then, with the picture shown over the canvas,
// whether to take it. What a Yes changes is the window's.
class ImportCommand {
public:
    enum class Outcome { Cancelled, Failed, Declined, Accepted };
    struct Result {
        Outcome outcome = Outcome::Cancelled;
        LoadedPicture picture;
    };

    // `over` is the part of the window the picture is shown on while the question is asked.
    ImportCommand(const CalculatorProfile& profile, Prompts& prompts, QWidget* over);

    // `filter`: the program's own first filter entry. A picture that cannot be read is
    // reported here.
    Result run(const QString& filter, QSize picture);

    // Plots the exactly-black pixels of an accepted picture with the pen, as the program scans
    // them: one step of the history, and the picture counts as edited.
    void overlay(const LoadedPicture& picture, EditSession& session, ToolController& tools) const;

    QWidget* Picture2; // the holder that shows the picture while asking; hidden otherwise

private:
    const CalculatorProfile& m_profile;
    Prompts& m_prompts;
    QWidget* m_over;
    QSize m_picture; // the picture imported into: columns x rows
    QImage m_shown;  // what Picture2 paints: the picture's part that fits over the canvas
};

} // namespace core
