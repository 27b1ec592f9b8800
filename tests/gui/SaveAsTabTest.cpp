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

static void UseProduct(const char* code)
{
    QVERIFY(Program().ini.WriteValue("Cad_Ver", "CadVer", code).ok());
}

static QStringList Items(const QComboBox* list)
{
    QStringList items;
    for (int i = 0; i < list->count(); ++i)
        items << list->itemText(i);
    return items;
}

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
    UseProduct(code.toLatin1().constData());
    SaveAsTab tab;
    tab.SetupSaveAsTab();
    QCOMPARE(tab.lblSaveAs_d, QStringLiteral("yes"));
    QCOMPARE(tab.fraSaveAs->title(), QStringLiteral("Save As Drawing"));
    QCOMPARE(tab.OptSaveAsType->checkedId(), 0);
    QCOMPARE(tab.OptSaveAsFormat->checkedId(), 0);
    QCOMPARE(tab.cboSaveType->count(), count);
    QCOMPARE(tab.shownRelease(), shown);
    QVERIFY(!tab.cboSaveType->isEditable());
    QCOMPARE(Items(tab.cboDxfAccuracy).size(), 16);
    QCOMPARE(tab.cboDxfAccuracy->currentText(), QStringLiteral("6"));
    QVERIFY(!tab.cboDxfAccuracy->isEditable());
    QVERIFY(!tab.FraDxfFormat->isVisibleTo(&tab));
    QVERIFY(!tab.chkSaveAsPreview->isVisibleTo(&tab));
    QCOMPARE(tab.txtSaveAs_Folder->text(), QStringLiteral("<Default>"));
    QCOMPARE(tab.txtSaveAs_Folder->isEnabled(), folder);
    QCOMPARE(tab.cmbSaveAsBrowse->isEnabled(), folder);
    QCOMPARE(tab.LblLispExplain16->isVisibleTo(&tab), !folder);
    QVERIFY(tab.cmdSaveAsSave->isEnabled());
}

void SaveAsTabTest::release13CannotBuild()
{
    GuiEnvironment env;
    UseProduct("Cad13");
    SaveAsTab tab;
    tab.SetupSaveAsTab();
    QCOMPARE(tab.fraSaveAs->title(), QStringLiteral("This option is unavailable in R13"));
    QCOMPARE(tab.cboSaveType->count(), 0);
    for (QWidget* control : std::initializer_list<QWidget*>{tab.cmdSaveAsSave, tab.cboSaveType, tab.cmbSaveAsBrowse,
                                                            tab.lblSaveType, tab.lblSaveInFolder})
        QVERIFY(!control->isEnabled());
    tab.OptSaveAsType->button(1)->click();
    QCOMPARE(tab.fraSaveAs->title(), QStringLiteral("This option is unavailable in R13"));
    QVERIFY(!tab.cmdSaveAsSave->isEnabled());
}

void SaveAsTabTest::dxfControlsFollowTheType()
{
    GuiEnvironment env;
    UseProduct("Cad2013");
    SaveAsTab tab;
    tab.SetupSaveAsTab();
    tab.OptSaveAsType->button(1)->click();
    QCOMPARE(tab.fraSaveAs->title(), QStringLiteral("Save As DXF"));
    QCOMPARE(Items(tab.cboSaveType).first(), QStringLiteral("AutoCAD 2013/LT2013 Dxf"));
    QCOMPARE(tab.cboDxfAccuracy->currentText(), QStringLiteral("16"));
    QVERIFY(tab.FraDxfFormat->isVisibleTo(&tab));
    QVERIFY(tab.chkSaveAsPreview->isVisibleTo(&tab));
    tab.OptSaveAsFormat->button(1)->click();
    QVERIFY(!tab.cboDxfAccuracy->isEnabled());
    tab.OptSaveAsFormat->button(0)->click();
    QVERIFY(tab.cboDxfAccuracy->isEnabled());
    tab.OptSaveAsType->button(0)->click();
    QCOMPARE(tab.shownRelease(), QStringLiteral("AutoCAD 2013/LT2013 Drawing"));
    QVERIFY(!tab.FraDxfFormat->isVisibleTo(&tab));

    // R14 keeps the accuracy shown and offers no preview.
    UseProduct("Cad14");
    SaveAsTab old;
    old.SetupSaveAsTab();
    old.OptSaveAsType->button(1)->click();
    QCOMPARE(old.cboDxfAccuracy->currentText(), QStringLiteral("6"));
    QVERIFY(!old.chkSaveAsPreview->isVisibleTo(&old));
    QVERIFY(old.FraDxfFormat->isVisibleTo(&old));
}

void SaveAsTabTest::messagesBeforeTheSaveDialog()
{
    GuiEnvironment env;
    UseProduct("Cad2007");
    SaveAsTab tab;
    tab.SetupSaveAsTab();
    QSignalSpy built(&tab, &SaveAsTab::routineBuilt);
    // The text shown first names the product's own release; without a folder the user is told of the overwrite.
    tab.cmdSaveAsSave->click();
    QCOMPARE(built.count(), 1);
    QCOMPARE(built[0][0].toString(), QStringLiteral("_saveas\r\n2007\r\n"));
    QCOMPARE(env.dialogs().messages().size(), 1);
    const UserMessage notice = env.dialogs().messages().first();
    QCOMPARE(notice.title, std::string("Save As Drawing"));
    QVERIFY(notice.icon == MessageIcon::Information);
    QVERIFY(notice.text.find("specifing a folder") != std::string::npos);

    // A DXF of lower precision is warned of, and built all the same; binary has no precision to warn of.
    tab.OptSaveAsType->button(1)->click();
    tab.cboSaveType->setCurrentText(QStringLiteral("AutoCAD 2000/LT2000 Dxf"));
    tab.cboDxfAccuracy->setCurrentText(QStringLiteral("8"));
    tab.chkSaveAsPreview->setChecked(true);
    tab.cmdSaveAsSave->click();
    QCOMPARE(built.count(), 2);
    QCOMPARE(built[1][0].toString(), QStringLiteral("_dxfout \r\n_P\r\n_Yes\r\n_V\r\n2000\r\n8"));
    QCOMPARE(
        env.dialogs().messages().last(),
        (UserMessage{"Warning:  You have specified a lower precision for the DXF file,\r\nwhich may result in loss of "
                     "drawing accuracy.",
                     "Dxf Message", MessageIcon::Exclamation, MessageButtons::Ok}));
    tab.OptSaveAsFormat->button(1)->click();
    tab.cmdSaveAsSave->click();
    QCOMPARE(built[2][0].toString(), QStringLiteral("_dxfout \r\n_P\r\n_Yes\r\n_V\r\n2000\r\n_B"));
    QCOMPARE(env.dialogs().messages().size(), 2);
}

void SaveAsTabTest::folderBrowseAndRefusal()
{
    GuiEnvironment env;
    UseProduct("Cad2018");
    SaveAsTab tab;
    tab.SetupSaveAsTab();
    QSignalSpy built(&tab, &SaveAsTab::routineBuilt);
    env.dialogs().queueFolder(env.folder());
    tab.cmbSaveAsBrowse->click();
    QCOMPARE(tab.txtSaveAs_Folder->text(), QDir::toNativeSeparators(env.folder()));
    QCOMPARE(env.dialogs().calls().first().title, QStringLiteral("Select Folder to Save to"));
    tab.cmbSaveAsBrowse->click(); // cancelled: the folder stays
    QCOMPARE(tab.txtSaveAs_Folder->text(), QDir::toNativeSeparators(env.folder()));

    tab.cmdSaveAsSave->click();
    QCOMPARE(built.count(), 1);
    QVERIFY(built[0][0].toString().endsWith(QStringLiteral("\r\n_saveas\r\n2018\r\n!draw_name")));
    QVERIFY(env.dialogs().messages().isEmpty()); // no message with a folder

    tab.txtSaveAs_Folder->setText(QStringLiteral("C:\\Old \"Drawings\""));
    tab.cmdSaveAsSave->click();
    QCOMPARE(built.count(), 1);
    QCOMPARE(env.dialogs().messages().last().text,
             std::string("The folder name cannot hold a double quote or a line break:\r\nC:\\Old \"Drawings\""));
    QCOMPARE(tab.focusWidget(), tab.txtSaveAs_Folder);
}

QTEST_MAIN(SaveAsTabTest)
#include "SaveAsTabTest.moc"
