#pragma once

#include <vector>

#include "core/model/print_layout.h"

class QPrinter;

namespace core {

// Plays a page in twips on the printer, from its printable area's top-left corner.
// False when the printer could not be started.
bool playPage(QPrinter& printer, const std::vector<PrintRect>& page);

} // namespace core
