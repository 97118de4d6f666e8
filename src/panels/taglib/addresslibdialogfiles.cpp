#include "addresslibdialog.h"

#include "model/config.h"
#include "model/exchange/tagexchange.h"
#include "services/messagedialog.h"
#include "tagfiledialog.h"
#include "tagusesmodel.h"
#include "widgets/tableview.h"

#include <QApplication>
#include <QStandardItemModel>

// The library's import and export buttons.

void AddressLibDialog::on_importTxt_clicked()
{
    importFile(tr("导入"), tr("表格文件(*.csv;*.txt);;All files(*.*)"));
}

void AddressLibDialog::on_exportTxt_clicked()
{
    exportFile(tr("导出"), tr("另存为 (*.csv;*.txt)"), QStringLiteral("csv"));
}

void AddressLibDialog::on_importExcel_clicked()
{
    importFile(tr("导入Excel"), tr("表格文件(*.xls;*.xlsx);;All files(*.*)"));
}

void AddressLibDialog::on_exportExcel_clicked()
{
    // Only the open format is written; an .xls name would be refused.
    exportFile(tr("导出Excel"), tr("另存为 (*.xlsx)"), QStringLiteral("xlsx"));
}

void AddressLibDialog::importFile(const QString &title, const QString &filter)
{
    if (m_system)
        return;
    const QString fileName = TagFileDialog::openFile(this, title, filter);
    if (fileName.isEmpty())
        return;
    TagExchange::AddressImport imported;
    QString error;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const bool read = TagExchange::importAddressTags(fileName, &imported, &error);
    QApplication::restoreOverrideCursor();
    if (!read) {
        showError(error);
        return;
    }
    if (imported.rows != TagExchange::addressRows(userModel())) {
        // Detached while the rows are replaced: a sorted or filtered view
        // would otherwise place every new row on its own (half a second
        // for ten thousand), where attaching it again sorts them once.
        m_table->setModel(nullptr);
        m_uses->setSourceModel(nullptr);
        TagExchange::setAddressRows(editableTags(EmptyCopy), imported.rows);
        attachShown();
        m_table->resizeColumnToContents(Config::NameColumn);
    }
    if (!imported.warnings.isEmpty())
        MessageDialog::showMessage(this, QMessageBox::Warning, tr("地址标签库"),
                                   imported.warnings.join(QLatin1Char('\n')), {tr("确定")});
}

void AddressLibDialog::exportFile(const QString &title, const QString &filter,
                                  const QString &suffix)
{
    const QString fileName = TagFileDialog::saveFile(this, title, filter, suffix);
    if (fileName.isEmpty())
        return;
    QString error;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const bool written = TagExchange::exportAddressTags(fileName, TagExchange::addressHeader(),
                                                        TagExchange::addressRows(userModel()), &error);
    QApplication::restoreOverrideCursor();
    if (!written) {
        showError(error);
        return;
    }
    MessageDialog::showMessage(this, QMessageBox::Information, tr("地址标签库"),
                               tr("地址标签库保存成功。"), {tr("确定")});
}
