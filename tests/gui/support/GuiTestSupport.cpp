#include "GuiTestSupport.h"

#include "app/MainWindow.h"
#include "batch/DrawingListModel.h"
#include "batch/DrawingListView.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QListWidget>

namespace qv::test {

GuiEnvironment::GuiEnvironment(const std::string& product)
{
    initialiseProgram(folder().toStdString());
    auto dialogs = std::make_unique<ScriptedUserDialogs>();
    m_dialogs = dialogs.get();
    programState().dialogs = std::move(dialogs);
    programState().headless = false;
    programState().exitCode = 0;
    programState().combinedScript.clear();
    programState().combinationMade = false;
    programState().routineIsNonFavourite = false;
    programState().release2004OrLater = false;
    if (!product.empty())
        useProduct(product);
}

GuiEnvironment::~GuiEnvironment()
{
    programState().dialogs.reset();
}

std::string GuiEnvironment::settingsValue(const char* section, const char* key) const
{
    return programState().settings.readValue(section, key);
}

void storeSetting(const char* section, const char* key, const std::string& value)
{
    QVERIFY2(programState().settings.writeValue(section, key, value).ok(), key);
}

void useProduct(const std::string& code)
{
    storeSetting("Cad_Ver", "CadVer", code);
}

void writeFile(const QString& path, const QByteArray& bytes)
{
    QVERIFY(QDir().mkpath(QFileInfo(path).absolutePath()));
    QFile file(path);
    QVERIFY2(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size(), qPrintable(path));
}

QByteArray readFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QStringList itemTexts(const QComboBox* list)
{
    QStringList texts;
    for (int i = 0; i < list->count(); ++i)
        texts << list->itemText(i);
    return texts;
}

QStringList itemTexts(const QListWidget* list)
{
    QStringList texts;
    for (int i = 0; i < list->count(); ++i)
        texts << list->item(i)->text();
    return texts;
}

void chooseText(QComboBox* list, const QString& text)
{
    const int index = list->findText(text);
    QVERIFY2(index >= 0, qPrintable(text));
    list->setCurrentIndex(index);
    emit list->activated(index);
    emit list->textActivated(text);
}

QStringList assignedRoutines(const MainWindow& window)
{
    QStringList routines;
    for (const DrawingRow& row : window.drawingList()->rows())
        routines << QString::fromStdString(row.routine);
    return routines;
}

void selectRows(MainWindow& window, std::initializer_list<int> rows)
{
    for (const int row : rows)
        window.m_drawingView->selectionModel()->select(window.drawingList()->index(row, 0),
                                                       QItemSelectionModel::Select | QItemSelectionModel::Rows);
}

} // namespace qv::test
