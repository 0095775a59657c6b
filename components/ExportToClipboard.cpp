#include "components/ExportToClipboard.h"

#include <QMimeData>

#include "platform/RichText.h"

QMimeData* ExportMimeData(TExportFormat format, const std::string& output,
                          const std::string& plainText) {
  auto* data = new QMimeData;
  const QByteArray bytes = QByteArray::fromStdString(output);
  switch (format) {
    case TExportFormat::RichText:
      data->setData(RtfMimeType(), bytes);
      data->setText(QString::fromStdString(plainText));
      return data;
    case TExportFormat::CommaSeparated:
      data->setData(QStringLiteral("text/csv"), bytes);
      break;
    case TExportFormat::TabSeparated:
      data->setData(QStringLiteral("text/tab-separated-values"), bytes);
      break;
    default:
      break;
  }
  data->setText(QString::fromUtf8(bytes));
  return data;
}
