// SPDX-License-Identifier: GPL-2.0-or-later
// Copyright (C) 2026 The Dotwell and Pixvane authors

#include "core/model/document.h"

#include <algorithm>

namespace core {

PictureSnapshot PictureSnapshot::take(const PixelGrid& picture) {
    PictureSnapshot s;
    s.m_rows = picture.rows();
    s.m_columns = picture.columns();
    bool twoValued = true;
    for (int r = 0; r < s.m_rows && twoValued; ++r) {
        const std::int16_t* row = picture.row(r);
        twoValued =
            std::all_of(row, row + s.m_columns, [](std::int16_t v) { return v == 0 || v == 1; });
    }
    if (!twoValued) {
        s.m_cells.reserve(size_t(s.m_rows) * size_t(s.m_columns));
        for (int r = 0; r < s.m_rows; ++r)
            s.m_cells.insert(s.m_cells.end(), picture.row(r), picture.row(r) + s.m_columns);
        return s;
    }
    s.m_bits.assign((size_t(s.m_rows) * size_t(s.m_columns) + 7) / 8, 0);
    size_t i = 0;
    for (int r = 0; r < s.m_rows; ++r)
        for (int c = 0; c < s.m_columns; ++c, ++i)
            if (picture.at(r, c) == 1)
                s.m_bits[i / 8] |= std::uint8_t(0x80 >> (i % 8));
    return s;
}

void PictureSnapshot::restore(PixelGrid& picture) const {
    if (picture.rows() != m_rows || picture.columns() != m_columns)
        picture = PixelGrid(m_rows, m_columns);
    size_t i = 0;
    for (int r = 0; r < m_rows; ++r)
        for (int c = 0; c < m_columns; ++c, ++i)
            picture.set(r, c,
                        m_cells.empty() ? std::int16_t((m_bits[i / 8] >> (7 - i % 8)) & 1)
                                        : m_cells[i]);
}

namespace {

// ClrDraw, a conversion, a paste: the picture before and after.
class PictureReplacement : public PictureCommand {
public:
    PictureReplacement(const PixelGrid& before, const PixelGrid& after, std::string label)
        : m_before(PictureSnapshot::take(before)), m_after(PictureSnapshot::take(after)),
          m_label(std::move(label)) {}
    void undo(PixelGrid& picture) const override { m_before.restore(picture); }
    void redo(PixelGrid& picture) const override { m_after.restore(picture); }
    const std::string& label() const override { return m_label; }
    size_t bytes() const override { return m_before.bytes() + m_after.bytes() + m_label.size(); }

private:
    PictureSnapshot m_before;
    PictureSnapshot m_after;
    std::string m_label;
};

} // namespace

// A stroke, a shape, an import: the cells it changed, each with its value before and after.
class Document::CellChanges : public PictureCommand {
public:
    CellChanges(const PixelGrid& picture, std::string label)
        : m_columns(picture.columns()), m_seen(size_t(picture.rows()) * size_t(picture.columns())),
          m_label(std::move(label)) {}

    void touch(int row, int column, std::int16_t before) {
        const size_t i = size_t(row) * size_t(m_columns) + size_t(column);
        if (m_seen[i])
            return;
        m_seen[i] = true;
        m_cells.push_back(std::uint32_t(i));
        m_before.push_back(before);
    }
    // Keeps the cells whose value the change altered; false when there is none.
    bool finish(const PixelGrid& picture) {
        m_seen = {};
        size_t kept = 0;
        for (size_t k = 0; k < m_cells.size(); ++k) {
            const std::int16_t now = at(picture, m_cells[k]);
            if (now == m_before[k])
                continue;
            m_cells[kept] = m_cells[k];
            m_before[kept] = m_before[k];
            m_after.push_back(now);
            ++kept;
        }
        m_cells.resize(kept);
        m_before.resize(kept);
        m_cells.shrink_to_fit();
        m_before.shrink_to_fit();
        return kept > 0;
    }

    void undo(PixelGrid& picture) const override { put(picture, m_before); }
    void redo(PixelGrid& picture) const override { put(picture, m_after); }
    const std::string& label() const override { return m_label; }
    size_t bytes() const override {
        return sizeof(*this) + m_cells.size() * (4 + 2 + 2) + m_label.size();
    }

private:
    std::int16_t at(const PixelGrid& picture, std::uint32_t i) const {
        return picture.at(int(i / unsigned(m_columns)), int(i % unsigned(m_columns)));
    }
    void put(PixelGrid& picture, const std::vector<std::int16_t>& values) const {
        for (size_t k = 0; k < m_cells.size(); ++k)
            picture.set(int(m_cells[k] / unsigned(m_columns)),
                        int(m_cells[k] % unsigned(m_columns)), values[k]);
    }

    int m_columns;
    std::vector<bool> m_seen; // while the change is open
    std::vector<std::uint32_t> m_cells;
    std::vector<std::int16_t> m_before;
    std::vector<std::int16_t> m_after;
    std::string m_label;
};

void History::push(std::unique_ptr<PictureCommand> command) {
    m_undone.clear();
    m_done.push_back({m_nextId++, std::move(command)});
    if (m_done.size() > kLimit) {
        m_base = m_done.front().id; // the oldest reachable picture is now the one after it
        m_done.pop_front();
    }
}

void History::undo(PixelGrid& picture) {
    m_done.back().command->undo(picture);
    m_undone.push_back(std::move(m_done.back()));
    m_done.pop_back();
}

void History::redo(PixelGrid& picture) {
    m_undone.back().command->redo(picture);
    m_done.push_back(std::move(m_undone.back()));
    m_undone.pop_back();
}

void History::clear(bool saved) {
    m_done.clear();
    m_undone.clear();
    m_base = m_nextId++;
    m_saved = saved ? m_base : kNowhere;
}

size_t History::bytes() const {
    size_t n = 0;
    for (const Step& s : m_done)
        n += s.command->bytes();
    for (const Step& s : m_undone)
        n += s.command->bytes();
    return n;
}

Document::Document(int rows, int columns) : m_picture(rows, columns) {}

Document::~Document() = default;

void Document::beginChange(std::string label) {
    endChange();
    m_change = std::make_unique<CellChanges>(m_picture, std::move(label));
}

void Document::setCell(int row, int column, std::int16_t value) {
    if (!m_picture.contains(row, column))
        return;
    if (m_change)
        m_change->touch(row, column, m_picture.at(row, column));
    m_picture.set(row, column, value);
}

void Document::endChange() {
    if (!m_change)
        return;
    std::unique_ptr<CellChanges> change = std::move(m_change);
    if (change->finish(m_picture))
        m_history.push(std::move(change));
}

void Document::replacePicture(const PixelGrid& picture, std::string label) {
    endChange();
    if (picture == m_picture)
        return;
    m_history.push(std::make_unique<PictureReplacement>(m_picture, picture, std::move(label)));
    m_picture = picture;
}

void Document::resetPicture(const PixelGrid& picture, bool saved) {
    m_change.reset();
    m_picture = picture;
    m_history.clear(saved);
}

bool Document::undo() {
    endChange();
    if (!m_history.canUndo())
        return false;
    m_history.undo(m_picture);
    return true;
}

bool Document::redo() {
    endChange();
    if (!m_history.canRedo())
        return false;
    m_history.redo(m_picture);
    return true;
}

} // namespace core
