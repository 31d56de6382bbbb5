#pragma once

#include "formats/RtfLoadStatus.h"

#include <QtGlobal>

class EditorDocument;

// The pictures of a piece pasted or dropped into the editor. A picture stays
// only when its data is at hand: the piece holds it (read from RTF), the
// editor's document already holds it (copied within the editor), or its
// address is a data: address holding a PNG, JPEG, GIF or BMP picture within
// the limits below. Nothing else an address names (a file, the network) is
// ever fetched: such a picture is taken out of the piece and counted as left
// out, so that no empty box stands in the text or is saved.
namespace pastedpictures {

// Data of a data: address is refused past this, before it is decoded.
inline constexpr qsizetype kMaxEncodedBytes = 32 * 1024 * 1024;
// The pixels of one picture, and of all the pictures of one piece.
inline constexpr qint64 kMaxPictureBytes = qint64(128) * 1024 * 1024;
inline constexpr qint64 kMaxPieceBytes = qint64(512) * 1024 * 1024;

// Adds the pictures of `piece` that can be had to `target`'s resources,
// renaming those that came from data: addresses, and takes the others out of
// `piece`, counting each as Loss::Pictures in `status`.
void takeInto(EditorDocument &piece, EditorDocument &target, rtf::LoadStatus &status);

} // namespace pastedpictures
