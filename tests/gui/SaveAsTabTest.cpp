#include "builders/SaveAsTab.h"

#include "support/GuiTestSupport.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>

using namespace qv;
using namespace qv::test;

class SaveAsTabTest final : public QObject
{
    Q_OBJECT

private slots:
    void setUpFollowsTheProduct_data();
    void setUpFollowsTheProduct();
    void release13CannotBuild();
    void dxfControlsFollowTheType();
    void messagesBeforeTheSaveDialog();
    void folderBrowseAndRefusal();
};

void SaveAsTabTest::setUpFollowsTheProduct_data()
{
    QTest::addColumn<QString>("code");
    QTest::addColumn<int>("count");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<bool>("folder");
    QTest::newRow("2018") << "Cad2018" << 7 << "AutoCAD 2018/LT2018 Drawing" << true;
    QTest::newRow("LT2013") << "CadLT2013" << 6 << "AutoCAD 2013/LT2013 Drawing" << false;
}

void SaveAsTabTest::setUpFollowsTheProduct()
{
    QFETCH(QString, code);
    QFETCH(int, count);
    QFETCH(QString, shown);
    QFETCH(bool, folder);
    GuiEnvironment env;
    useProduct(code.toLatin1().constData());
    SaveAsTab tab;
    tab.setUp();
    QCOMPARE(tab.m_setUpFlag, QStringLiteral("yes"));
    QCOMPARE(tab.m_saveAsGroup->title(), QStringLiteral("Save As Drawing"));
    QCOMPARE(tab.m_fileKindButtons->checkedId(), 0);
    QCOMPARE(tab.m_dxfFormatButtons->checkedId(), 0);
    QCOMPARE(tab.m_releaseCombo->count(), count);
    QCOMPARE(tab.shownRelease(), shown);
    QVERIFY(!tab.m_releaseCombo->isEditable());
    QCOMPARE(itemTexts(tab.m_accuracyCombo).size(), 16);
    QCOMPARE(tab.m_accuracyCombo->currentText(), QStringLiteral("6"));
    QVERIFY(!tab.m_accuracyCombo->isEditable());
    QVERIFY(!tab.m_dxfFormatGroup->isVisibleTo(&tab));
    QVERIFY(!tab.m_previewCheck->isVisibleTo(&tab));
    QCOMPARE(tab.m_folderEdit->text(), QStringLiteral("<Default>"));
    QCOMPARE(tab.m_folderEdit->isEnabled(), folder);
    QCOMPARE(tab.m_browseFolderButton->isEnabled(), folder);
    QCOMPARE(tab.m_lispNoteLabel->isVisibleTo(&tab), !folder);
    QVERIFY(tab.m_saveRoutineButton->isEnabled());
}

void SaveAsTabTest::release13CannotBuild()
{
    GuiEnvironment env;
    useProduct("Cad13");
    SaveAsTab tab;
    tab.setUp();
    QCOMPARE(tab.m_saveAsGroup->title(), QStringLiteral("This option is unavailable in R13"));
    QCOMPARE(tab.m_releaseCombo->count(), 0);
    for (QWidget* control :
         std::initializer_list<QWidget*>{tab.m_saveRoutineButton, tab.m_releaseCombo, tab.m_browseFolderButton,
                                         tab.m_releaseLabel, tab.m_folderLabel})
        QVERIFY(!control->isEnabled());
    tab.m_fileKindButtons->button(1)->click();
    QCOMPARE(tab.m_saveAsGroup->title(), QStringLiteral("This option is unavailable in R13"));
    QVERIFY(!tab.m_saveRoutineButton->isEnabled());
}

void SaveAsTabTest::dxfControlsFollowTheType()
{
    GuiEnvironment env;
    useProduct("Cad2013");
    SaveAsTab tab;
    tab.setUp();
    tab.m_fileKindButtons->button(1)->click();
    QCOMPARE(tab.m_saveAsGroup->title(), QStringLiteral("Save As DXF"));
    QCOMPARE(itemTexts(tab.m_releaseCombo).first(), QStringLiteral("AutoCAD 2013/LT2013 Dxf"));
    QCOMPARE(tab.m_accuracyCombo->currentText(), QStringLiteral("16"));
    QVERIFY(tab.m_dxfFormatGroup->isVisibleTo(&tab));
    QVERIFY(tab.m_previewCheck->isVisibleTo(&tab));
    tab.m_dxfFormatButtons->button(1)->click();
    QVERIFY(!tab.m_accuracyCombo->isEnabled());
    tab.m_dxfFormatButtons->button(0)->click();
    QVERIFY(tab.m_accuracyCombo->isEnabled());
    tab.m_fileKindButtons->button(0)->click();
    QCOMPARE(tab.shownRelease(), QStringLiteral("AutoCAD 2013/LT2013 Drawing"));
    QVERIFY(!tab.m_dxfFormatGroup->isVisibleTo(&tab));

    // R14 keeps the accuracy shown and offers no preview.
    useProduct("Cad14");
    SaveAsTab old;
    old.setUp();
    old.m_fileKindButtons->button(1)->click();
    QCOMPARE(old.m_accuracyCombo->currentText(), QStringLiteral("6"));
    QVERIFY(!old.m_previewCheck->isVisibleTo(&old));
    QVERIFY(old.m_dxfFormatGroup->isVisibleTo(&old));
}

void SaveAsTabTest::messagesBeforeTheSaveDialog()
{
    GuiEnvironment env;
    useProduct("Cad2007");
    SaveAsTab tab;
    tab.setUp();
    QSignalSpy built(&tab, &SaveAsTab::routineBuilt);
    // The text shown first names the product's own release; without a folder the user is told of the overwrite.
    tab.m_saveRoutineButton->click();
    QCOMPARE(built.count(), 1);
    QCOMPARE(built[0][0].toString(), QStringLiteral("_saveas\r\n2007\r\n"));
    QCOMPARE(env.dialogs().messages().size(), 1);
    const UserMessage notice = env.dialogs().messages().first();
    QCOMPARE(notice.title, std::string("Save As Drawing"));
    QVERIFY(notice.icon == MessageIcon::Information);
    QVERIFY(notice.text.find("specifing a folder") != std::string::npos);

    // A DXF of lower precision is warned of, and built all the same; binary has no precision to warn of.
    tab.m_fileKindButtons->button(1)->click();
    tab.m_releaseCombo->setCurrentText(QStringLiteral("AutoCAD 2000/LT2000 Dxf"));
    tab.m_accuracyCombo->setCurrentText(QStringLiteral("8"));
    tab.m_previewCheck->setChecked(true);
    tab.m_saveRoutineButton->click();
    QCOMPARE(built.count(), 2);
    QCOMPARE(built[1][0].toString(), QStringLiteral("_dxfout \r\n_P\r\n_Yes\r\n_V\r\n2000\r\n8"));
    QCOMPARE(
        env.dialogs().messages().last(),
        (UserMessage{"Warning:  You have specified a lower precision for the DXF file,\r\nwhich may result in loss of "
                     "drawing accuracy.",
                     "Dxf Message", MessageIcon::Exclamation, MessageButtons::Ok}));
    tab.m_dxfFormatButtons->button(1)->click();
    tab.m_saveRoutineButton->click();
    QCOMPARE(built[2][0].toString(), QStringLiteral("_dxfout \r\n_P\r\n_Yes\r\n_V\r\n2000\r\n_B"));
    QCOMPARE(env.dialogs().messages().size(), 2);
}

void SaveAsTabTest::folderBrowseAndRefusal()
{
    GuiEnvironment env;
    useProduct("Cad2018");
    SaveAsTab tab;
    tab.setUp();
    QSignalSpy built(&tab, &SaveAsTab::routineBuilt);
    env.dialogs().queueFolder(env.folder());
    tab.m_browseFolderButton->click();
    QCOMPARE(tab.m_folderEdit->text(), QDir::toNativeSeparators(env.folder()));
    QCOMPARE(env.dialogs().calls().first().title, QStringLiteral("Select Folder to Save to"));
    tab.m_browseFolderButton->click(); // cancelled: the folder stays
    QCOMPARE(tab.m_folderEdit->text(), QDir::toNativeSeparators(env.folder()));

    tab.m_saveRoutineButton->click();
    QCOMPARE(built.count(), 1);
    QVERIFY(built[0][0].toString().endsWith(QStringLiteral("\r\n_saveas\r\n2018\r\n!draw_name")));
    QVERIFY(env.dialogs().messages().isEmpty()); // no message with a folder

    tab.m_folderEdit->setText(QStringLiteral("C:\\Old \"Drawings\""));
    tab.m_saveRoutineButton->click();
    QCOMPARE(built.count(), 1);
    QCOMPARE(env.dialogs().messages().last().text,
             std::string("The folder name cannot hold a double quote or a line break:\r\nC:\\Old \"Drawings\""));
    QCOMPARE(tab.focusWidget(), tab.m_folderEdit);
}

QTEST_MAIN(SaveAsTabTest)
#include "SaveAsTabTest.moc"
