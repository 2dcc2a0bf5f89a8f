#include "control/alert_sound.h"

#include <QByteArray>
#include <QFile>
#include <cstdint>

#include "platform/shared_sound_player.h"
#include "res/resource_paths.h"

namespace sordanel {

void PlayAlertSound() {
    // Read once and kept for the program's life.
    static const QByteArray chime = [] {
        QFile file(QString::fromUtf8(kAlertSoundPath));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }();
    SharedSoundPlayer().PlayImage(reinterpret_cast<const std::uint8_t*>(chime.constData()),
                                  static_cast<std::size_t>(chime.size()));
}

}  // namespace sordanel
