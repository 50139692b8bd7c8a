#include "common/ShippedFiles.h"

#include <QDir>
#include <QFileInfo>

#include "common/Installation.h"

namespace scorewell::gui {

QString ShippedFilePath(const QString& executableFolder, const QString& name) {
    const QDir folder(executableFolder);
    for (const QString& candidate :
         {folder.filePath(name),
          folder.filePath(QString(kDataFolderFromExecutable) + "/" + name)}) {
        if (QFileInfo(candidate).isFile()) {
            return QDir::cleanPath(QFileInfo(candidate).absoluteFilePath());
        }
    }
    return {};
}

} // namespace scorewell::gui
