#pragma once
// A write-only QIODevice over an AtomicFileWriter, so that Qt writers (the PDF writer) produce
// a file that is replaced whole or not at all. Qt's writers ignore the result of their writes;
// the writer remembers the first failure and Commit() reports it.

#include <QIODevice>

#include "AtomicFileWrite.h"

namespace leeb {

class AtomicFileDevice : public QIODevice {
  public:
    // Opens the device for writing; `writer` must outlive it.
    explicit AtomicFileDevice(AtomicFileWriter& writer);

  protected:
    qint64 readData(char* data, qint64 maxSize) override;
    qint64 writeData(const char* data, qint64 size) override;

  private:
    AtomicFileWriter& writer_;
};

}  // namespace leeb
