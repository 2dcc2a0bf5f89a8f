#include "temporary_directory.h"

#include <QDir>

namespace sordanel {

std::string TemporaryDirectory() {
    std::string path = QDir::tempPath().toStdString();
    if (path.empty() || path.back() != '/') {
        path += '/';
    }
    return path;
}

}  // namespace sordanel
