// SPDX-FileCopyrightText: 2026 The V.O.R.N. VOZID authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/media/backend.h"

#include "platform/errors.h"

#include <QFileInfo>

namespace vorn {

namespace mediaerror {
QString fileNotFound() {
    return QStringLiteral(
        "The specified file was not found. Make sure the path and filename are correct.");
}
QString invalidFile() {
    return QStringLiteral(
        "The specified file cannot be played on the specified MCI device. The file may be corrupt, "
        "or not in the correct format.");
}
QString extensionNotFound() {
    return QStringLiteral("Cannot determine the device type from the given filename extension.");
}
QString unknown() {
    return QStringLiteral("Unknown error code");
}
QString notOpen() {
    return QStringLiteral("No MCI device open");
}
QString cannotOpenAvi() {
    return QStringLiteral("Cannot open AVI");
}
}  // namespace mediaerror

DeviceType deviceTypeFor(const QString& path) {
    const QString ext = QFileInfo(path).suffix().toLower();
    if (ext == u"mid" || ext == u"midi" || ext == u"rmi") return DeviceType::Sequencer;
    if (ext == u"wav") return DeviceType::WaveAudio;
    if (ext == u"avi") return DeviceType::Video;
    throw Error(mediaerror::extensionNotFound());
}

}  // namespace vorn
