// Qt's own buttons and dialogs speak Chinese when the system names no language.
#include "app/shell/qt_translations.h"

#include <QDialogButtonBox>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>

using namespace drawfollow;

class QtTranslationsTest : public QObject {
    Q_OBJECT

private slots:
    void bareLocaleMeansChinese() {
        QCOMPARE(qtTextsLocale(QLocale::c()), QLocale(QLocale::Chinese, QLocale::China));
        QCOMPARE(qtTextsLocale(QLocale(QLocale::German, QLocale::Germany)), QLocale(QLocale::German, QLocale::Germany));
    }

    void standardButtonsReadChinese() {
        QVERIFY(installQtTranslations(*qApp, QLocale::c()));
        QMessageBox box;
        box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
        QCOMPARE(box.button(QMessageBox::Ok)->text(), QStringLiteral("确定"));
        QCOMPARE(box.button(QMessageBox::Cancel)->text(), QStringLiteral("取消"));
        QDialogButtonBox buttons(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
        QCOMPARE(buttons.button(QDialogButtonBox::Ok)->text(), QStringLiteral("确定"));
    }
};

QTEST_MAIN(QtTranslationsTest)
#include "qt_translations_test.moc"
