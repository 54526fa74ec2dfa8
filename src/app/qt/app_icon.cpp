#include "app/qt/app_icon.h"

QIcon AppIcon() {
  QIcon icon;
  for (const char* size : {"16", "32", "48", "256"})
    icon.addFile(QStringLiteral(":/icons/lumistra-%1.png").arg(QLatin1String(size)));
  return icon;
}
