// Inside the platform layer on Windows: how a console read that is waiting learns that the
// program has been asked to end. The reader announces itself for the time of a read; the console's
// control handler, which runs on a thread of its own, cancels that read.
#pragma once

namespace platform {

class CInterruptibleRead {
  public:
    CInterruptibleRead();  // announces the calling thread as the reader
    ~CInterruptibleRead();
    CInterruptibleRead(const CInterruptibleRead&) = delete;
    CInterruptibleRead& operator=(const CInterruptibleRead&) = delete;

  private:
    void* thread_;
};

}  // namespace platform
