// SPDX-FileCopyrightText: 2026 The V.O.R.N. VOZID authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// Writes baseline JPEG files with libjpeg (deterministic for a given image and quality).

#include <QByteArray>
#include <QImage>
#include <QString>

namespace vorn::writers {

QByteArray jpegBytes(const QImage& image, int quality = 90);
void writeJpeg(const QString& path, const QImage& image, int quality = 90);

}  // namespace vorn::writers
