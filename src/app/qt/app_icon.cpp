#include "app/qt/app_icon.h"

QIcon AppIcon() {
  // One icon for the application, its window and the About box, so that
  // each picture is decoded once.
  static const QIcon icon = [] {
    QIcon sizes;
    for (const char* size : {"16", "32", "48"})
      sizes.addFile(QStringLiteral(":/icons/lumistra-%1.png").arg(QLatin1String(size)));
    return sizes;
  }();
  return icon;
}
