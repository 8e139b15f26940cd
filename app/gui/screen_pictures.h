#pragma once
// PNG pictures of the screen and of the dialogs, for the documentation.
#include <string>
#include <vector>

class QWidget;

namespace recebimento::gui {

// Writes what `widget` shows to `path` as PNG, atomically. std::runtime_error when the
// picture cannot be made or written.
void WritePicture(QWidget& widget, const std::string& path);

// Opens each host dialog with sample contents, takes its picture into `folder` and
// closes it. Returns the files written.
std::vector<std::string> WriteDialogPictures(const std::string& folder);

}  // namespace recebimento::gui
