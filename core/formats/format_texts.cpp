// SPDX-License-Identifier: GPL-2.0-or-later
// Copyright (C) 2026 The Dotwell and Pixvane authors

#include "core/formats/format_texts.h"

#include <algorithm>

namespace core {
namespace {

// "TI-83 Plus and TI-84 Plus" as its two models.
std::vector<std::string> modelsOf(const FormatDescriptor& f) {
    std::vector<std::string> out;
    std::string_view rest = f.calculators;
    for (size_t at; (at = rest.find(" and ")) != std::string_view::npos; rest = rest.substr(at + 5))
        out.emplace_back(rest.substr(0, at));
    out.emplace_back(rest);
    return out;
}

void addOnce(std::vector<std::string>& list, const std::string& item) {
    if (std::find(list.begin(), list.end(), item) == list.end())
        list.push_back(item);
}

} // namespace

std::string joinedList(const std::vector<std::string>& items, std::string_view last) {
    std::string out;
    for (size_t i = 0; i < items.size(); ++i) {
        if (i > 0 && i + 1 == items.size()) {
            out += ' ';
            out += last;
            out += ' ';
        } else if (i > 0) {
            out += ", ";
        }
        out += items[i];
    }
    return out;
}

std::vector<std::string> extensions(const std::function<bool(const FormatDescriptor&)>& which,
                                    bool dots) {
    std::vector<std::string> out;
    for (const FormatDescriptor& f : allFormats()) {
        if (!which || which(f))
            out.push_back(std::string(dots ? "." : "").append(f.extension));
    }
    return out;
}

std::vector<std::string> models(std::optional<Program> program) {
    std::vector<std::string> out;
    for (const FormatDescriptor& f : allFormats()) {
        if (!program || editorOpens(f, *program))
            for (const std::string& model : modelsOf(f))
                addOnce(out, model);
    }
    return out;
}

std::string picturesBySize(std::optional<Program> program) {
    struct Group {
        PictureSize size;
        std::vector<std::string> models;
        std::vector<std::string> extensions;
    };
    std::vector<Group> groups;
    for (const FormatDescriptor& f : allFormats()) {
        if (program && !editorOpens(f, *program))
            continue;
        auto group = std::find_if(groups.begin(), groups.end(), [&](const Group& g) {
            return g.size.columns == f.picture.columns && g.size.rows == f.picture.rows;
        });
        if (group == groups.end())
            group = groups.insert(groups.end(), Group{f.picture, {}, {}});
        for (const std::string& model : modelsOf(f))
            addOnce(group->models, model);
        group->extensions.push_back(std::string(".").append(f.extension));
    }
    std::vector<std::string> parts;
    for (const Group& g : groups) {
        std::string extensions;
        for (const std::string& e : g.extensions)
            extensions += (extensions.empty() ? "" : ", ") + e;
        parts.push_back(joinedList(g.models) + " (" + std::to_string(g.size.columns) + " x " +
                        std::to_string(g.size.rows) + " pixels: " + extensions + ")");
    }
    return joinedList(parts);
}

} // namespace core
