#include "core/ui/wmf_player.h"

namespace core {

bool looksLikeWmf(const QByteArray&) { return false; }
QSize wmfNaturalSize(const QByteArray&) { return {}; }
QImage renderWmf(const QByteArray&, QSize, QString* error) {
    *error = QStringLiteral("Metafiles cannot be read yet");
    return {};
}

} // namespace core
