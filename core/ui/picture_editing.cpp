// SPDX-License-Identifier: GPL-2.0-or-later
// Copyright (C) 2026 The Dotwell and Pixvane authors

#include "core/ui/picture_editing.h"

#include <algorithm>

#include <QAction>
#include <QMimeData>
#include <QWidget>

#include "core/model/cell_colours.h"
#include "core/ui/canvas_keys.h"
#include "core/ui/canvas_view.h"
#include "core/ui/clipboard_commands.h"
#include "core/ui/editor_menus.h"
#include "core/ui/editor_window.h"
#include "core/ui/picture_canvas.h"

namespace core {
namespace {

constexpr int kAntsMilliseconds = 150;

} // namespace

PictureEditing::PictureEditing(Parts parts) : QObject(parts.window), m_parts(std::move(parts)) {
    EditorMenus& menus = m_parts.menus;
    PictureEdits& edits = m_parts.edits;
    PictureCanvas* canvas = m_parts.canvas;
    CanvasView* view = m_parts.view;
    auto on = [this](QAction* item, auto handler) {
        connect(item, &QAction::triggered, this, handler);
    };
    on(menus.miCut, [this] { cut(); });
    on(menus.miPasteSelection, [this] { pasteAsSelection(); });
    on(menus.miSelectAll, [&edits, canvas] {
        const PictureCanvas::Batch batch(*canvas);
        edits.selectAll();
    });
    for (int i = 0; i < int(menus.miOperation.size()); ++i) {
        on(menus.miOperation[size_t(i)], [&edits, canvas, i] {
            const PictureCanvas::Batch batch(*canvas); // the whole picture may change
            edits.apply(PictureOperation(i));
        });
    }
    on(menus.miSmallLettering, [&edits] { edits.setLettering(Lettering::Small); });
    on(menus.miLargeLettering, [&edits] { edits.setLettering(Lettering::Large); });

    on(menus.miZoomIn, [view] { view->zoomIn(); });
    on(menus.miZoomOut, [view] { view->zoomOut(); });
    on(menus.miFit, [view] { view->fitToWindow(); });
    on(menus.miGrid, [canvas, &menus] {
        canvas->overlay().grid = menus.miGrid->isChecked();
        canvas->overlayChanged();
    });
    view->zoomChanged = [&menus, view] {
        menus.miFit->setChecked(view->fitting());
        menus.miZoomIn->setEnabled(view->canZoomIn());
        menus.miZoomOut->setEnabled(view->canZoomOut());
    };

    // The keys that act on the canvas only while it has the focus.
    for (const DrawToolInfo& info : kDrawTools)
        if (info.key)
            canvas->addAction(menus.miTool[size_t(info.number)]);
    canvas->addActions({menus.miSwapInk, menus.miSelectAll});

    edits.changed = [this] { showEdits(); };
    m_ants.setInterval(kAntsMilliseconds);
    connect(&m_ants, &QTimer::timeout, this, &PictureEditing::marchAnts);
}

PictureEditing::PictureEditing(EditorWindow& window, ClipboardCommands* clipboard, Prompts& prompts,
                               std::function<void()> stateChanged)
    : PictureEditing(Parts{&window, window, window.edits(), window.Picture1, window.view(),
                           clipboard, prompts, window.profile().cellFill, window.document(),
                           window.tools(), std::move(stateChanged)}) {
    connect(window.miSwapInk, &QAction::triggered, this,
            [&window] { window.miTool_Click(inkTwin(window.tools().checkedTool())); });
    new CanvasKeys(window, window.edits(), *window.view());
}

void PictureEditing::applyState(const DocumentState& state) {
    const EditorMenus& menus = m_parts.menus;
    const bool picture = state.pictureExists();
    menus.miCut->setEnabled(m_parts.edits.selection().active());
    menus.miPasteSelection->setEnabled(m_parts.clipboard && m_parts.clipboard->hasImage());
    menus.miSelectAll->setEnabled(picture);
    for (QAction* item : menus.miOperation)
        item->setEnabled(picture);
}

void PictureEditing::copy(const PixelGrid& picture) {
    const Selection& selection = m_parts.edits.selection();
    m_parts.clipboard->copy(selection.active() ? selection.cells() : picture,
                            m_parts.document.cellKind());
}

void PictureEditing::cut() {
    const Selection& selection = m_parts.edits.selection();
    if (!selection.active())
        return;
    m_parts.clipboard->copy(selection.cells(), m_parts.document.cellKind());
    const PictureCanvas::Batch batch(*m_parts.canvas);
    m_parts.edits.deleteSelection("Cut");
}

std::optional<PixelGrid> PictureEditing::exactCells(const QImage& image, int rows, int columns,
                                                    CellKind kind) {
    if (image.isNull() || image.width() > columns || image.height() > rows)
        return std::nullopt;
    const QImage pixels = image.convertToFormat(QImage::Format_ARGB32);
    PixelGrid cells(pixels.height(), pixels.width(), paperOf(kind));
    for (int y = 0; y < pixels.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(pixels.constScanLine(y));
        for (int x = 0; x < pixels.width(); ++x) {
            if (qAlpha(line[x]) < 128)
                continue; // transparent: clear, none, white
            const Rgb rgb = line[x] & 0xFFFFFF;
            if (kind == CellKind::Rgb565) {
                cells.set(y, x, std::int16_t(rgb565Of(qRed(rgb), qGreen(rgb), qBlue(rgb))));
                continue;
            }
            if (kind == CellKind::Monochrome && (rgb == 0 || rgb == 0xFFFFFF)) {
                cells.set(y, x, rgb == 0 ? 1 : 0);
                continue;
            }
            const auto found = std::find(kPaletteRgb.begin() + 1, kPaletteRgb.end(), rgb);
            if (kind != CellKind::Palette || found == kPaletteRgb.end())
                return std::nullopt;
            cells.set(y, x, std::int16_t(found - kPaletteRgb.begin()));
        }
    }
    return cells;
}

void PictureEditing::pasteAsSelection() {
    const QMimeData* data = m_parts.clipboard->contents();
    const QImage image =
        data && data->hasImage() ? qvariant_cast<QImage>(data->imageData()) : QImage();
    const QSize one = m_parts.canvas->sizeForZoom(1);
    const std::optional<PixelGrid> cells =
        exactCells(image, one.height(), one.width(), m_parts.document.cellKind());
    if (!cells) {
        QWidget* window = m_parts.window;
        m_parts.prompts.message(
            window, window->windowTitle(),
            image.isNull()
                ? tr("The clipboard holds no picture.")
                : tr("The clipboard's picture is %1 x %2 pixels and not only %5, or larger than "
                     "the %3 x %4 picture: it cannot be placed cell for cell. Paste converts it.")
                      .arg(image.width())
                      .arg(image.height())
                      .arg(one.width())
                      .arg(one.height())
                      .arg(m_parts.document.cellKind() == CellKind::Palette
                               ? tr("the calculator's colours")
                               : tr("black and white")),
            MessageIcon::Exclamation, MessageButtons::Ok);
        return;
    }
    // In the visible part's top-left corner, as far in as it fits.
    const QPoint first = m_parts.view->firstVisibleCell();
    const int left = std::max(0, std::min(first.x(), one.width() - cells->columns()));
    const int top = std::max(0, std::min(first.y(), one.height() - cells->rows()));
    const PictureCanvas::Batch batch(*m_parts.canvas);
    m_parts.edits.pasteAsSelection(*cells, left, top);
    m_parts.canvas->setFocus(Qt::OtherFocusReason); // the arrow keys move it at once
}

void PictureEditing::showEdits() {
    CanvasOverlay& overlay = m_parts.canvas->overlay();
    const PictureEdits& edits = m_parts.edits;
    overlay.outline = edits.outline();
    const TextEntry& text = edits.text();
    overlay.textCells = text.active() ? text.cells() : std::vector<std::pair<int, int>>{};
    overlay.cellFill = cellFillOf(m_parts.document.cellKind(), m_parts.cellFill);
    overlay.textColour =
        shownCellColour(m_parts.tools.valueOf(text.ink()), m_parts.document.cellKind(), 0, 0,
                        m_parts.canvas->background());
    overlay.caret = text.active() ? std::optional(text.caret()) : std::nullopt;
    m_parts.canvas->overlayChanged();
    if (overlay.outline && !m_ants.isActive())
        m_ants.start();
    else if (!overlay.outline)
        m_ants.stop();
    const Lettering lettering = edits.lettering();
    m_parts.menus.miSmallLettering->setChecked(lettering == Lettering::Small);
    m_parts.menus.miLargeLettering->setChecked(lettering == Lettering::Large);
    if (m_parts.stateChanged)
        m_parts.stateChanged();
}

void PictureEditing::marchAnts() {
    CanvasOverlay& overlay = m_parts.canvas->overlay();
    if (!overlay.outline) {
        m_ants.stop();
        return;
    }
    ++overlay.antsPhase;
    m_parts.canvas->overlayChanged(
        CanvasOverlay::outlinePixels(*overlay.outline, m_parts.canvas->zoom()));
}

} // namespace core
