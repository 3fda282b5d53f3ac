// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// PNG files of drawing areas, written faster than the toolkit's general writer: every row is
// filtered with the row above it subtracted ("Up"), which suits drawings of lines on paper, and
// the two halves of the picture are compressed at the same time on two threads. The file is the
// same whatever the number of processors: the halves are always compressed apart and joined
// into one stream. Nothing else goes into it but the pixels and their resolution.
//
// Contents: png_encoding.

#include <QByteArray>

class QImage;

namespace vorax::gwl {

// The PNG file of a picture of 32-bit RGB pixels (QImage::Format_RGB32), 8 bits per colour;
// empty for another pixel format, or when memory ran out.
QByteArray png_encoding(const QImage& picture);

} // namespace vorax::gwl
