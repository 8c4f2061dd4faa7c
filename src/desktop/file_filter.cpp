#include "desktop/file_filter.h"

#include <QStringList>

namespace qalto {
namespace {

QString Patterns(const QString& patterns) {
  QStringList list;
  for (QString pattern : patterns.split(';', Qt::SkipEmptyParts)) {
    pattern = pattern.trimmed();
    if (pattern == "*.*") pattern = "*";
    if (!pattern.isEmpty()) list << pattern;
  }
  if (list.isEmpty()) list << "*";
  return list.join(' ');
}

QString Description(QString description) {
  int open = description.lastIndexOf('(');
  if (open > 0 && description.trimmed().endsWith(')')) description.truncate(open);
  return description.trimmed();
}

}  // namespace

QString QtFileFilter(const std::string& filter) {
  QStringList parts = QString::fromStdString(filter).split('|');
  QStringList entries;
  for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
    QString description = Description(parts[i]);
    QString patterns = Patterns(parts[i + 1]);
    entries << (description.isEmpty() ? patterns : description + " (" + patterns + ")");
  }
  // A trailing description without patterns stands for every file.
  if (parts.size() % 2 == 1 && !parts.back().trimmed().isEmpty()) {
    entries << Description(parts.back()) + " (*)";
  }
  return entries.join(";;");
}

}  // namespace qalto
