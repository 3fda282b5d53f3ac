#pragma once
// Icons loaded from files.

#include <string>

namespace vorax::gwl {

// True when the file holds an image the layer can show as an icon.
bool icon_file_loadable(const std::string& path);

} // namespace vorax::gwl
