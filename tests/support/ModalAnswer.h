#pragma once
// Window tests that open a modal dialog: the answer is played once the
// dialog shows, and a dialog still open after a ceiling that only a hang
// reaches is rejected, so the test fails instead of hanging.
#include <QDialog>
#include <QTimer>
#include <gtest/gtest.h>

#include <functional>

namespace testsupport {

// `show` opens the dialog modally and returns its result (the dialog's own
// exec() when empty).
inline int RunModalAnswered(QDialog& dialog, const std::function<void()>& answer,
                            const std::function<int()>& show = {})
{
    bool hung = false;
    QTimer::singleShot(0, &dialog, answer);
    QTimer ceiling;
    ceiling.setSingleShot(true);
    QObject::connect(&ceiling, &QTimer::timeout, &dialog, [&] {
        hung = true;
        dialog.reject();
    });
    ceiling.start(30000);
    const int result = show ? show() : dialog.exec();
    EXPECT_FALSE(hung) << "the dialog was not closed";
    return result;
}

} // namespace testsupport
