// Picture files shown on the screens.
#pragma once

#include <QPixmap>
#include <string>

namespace rh::qt {

// The picture in the file at `path`. A missing file, or one that is not a readable picture,
// raises FileFault naming the file and its folder.
QPixmap LoadPicture(const std::string& path);

}  // namespace rh::qt
