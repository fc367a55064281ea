#pragma once
// A write-only device over the safe writer, for Qt writers that produce a
// file through a QIODevice (the PDF writer): what they write goes to the
// writer's temporary, and the file is replaced only by the writer's Commit.
#include "platform/Files.h"

#include <QIODevice>

class TSafeFileDevice : public QIODevice {
public:
    explicit TSafeFileDevice(TSafeFileWriter& writer) : writer_(writer) {}
    bool isSequential() const override { return true; }
    // false once any write failed.
    bool Written() const { return written_; }

protected:
    qint64 readData(char*, qint64) override { return -1; }
    qint64 writeData(const char* data, qint64 n) override;

private:
    TSafeFileWriter& writer_;
    bool written_ = true;
};
