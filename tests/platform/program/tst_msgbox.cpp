#include "platform/program/MsgBox.h"

#include <QTest>

// Boxes answered by tests, and the way out of a box closed without a button.
class TestMsgBox : public QObject {
    Q_OBJECT

private slots:
    void nextAnswerIsUsedOnceAndRecorded() {
        MsgBox::SetNextAnswer(MsgBox::Answer::Retry);
        QCOMPARE(MsgBox::Show("text", MsgBox::Buttons::AbortRetryIgnore, "title"),
                 MsgBox::Answer::Retry);
        QCOMPARE(MsgBox::Last()->text, QStringLiteral("text"));
        QCOMPARE(MsgBox::Last()->title, QStringLiteral("title"));
        // Without a presenter and without a prepared answer, the way out is taken.
        QCOMPARE(MsgBox::Show("again", MsgBox::Buttons::AbortRetryIgnore, "title"),
                 MsgBox::Answer::Abort);
        QCOMPARE(MsgBox::Show("ask", MsgBox::Buttons::OkCancel, "title"), MsgBox::Answer::Cancel);
        MsgBox::ForgetLast();
        QVERIFY(!MsgBox::Last());
    }

    void presenterSeesTheBox() {
        QString seen;
        MsgBox::SetPresenter([&](const MsgBox::Shown& box, QWidget*) {
            seen = box.title + "|" + box.text;
            return MsgBox::Answer::Ok;
        });
        QCOMPARE(MsgBox::Show("Are you sure?", MsgBox::Buttons::OkCancel, "Confirm Delete"),
                 MsgBox::Answer::Ok);
        QCOMPARE(seen, QStringLiteral("Confirm Delete|Are you sure?"));
        MsgBox::SetPresenter({});
    }
};

QTEST_GUILESS_MAIN(TestMsgBox)
#include "tst_msgbox.moc"
