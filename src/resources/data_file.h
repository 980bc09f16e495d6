#pragma once
#include <cstdint>
#include <string>
#include <string_view>

#include "base/lobject.h"

namespace vs::resources {

// A readable file: an archive entry (DATFile) or a loose file on disk (DiskFile).
// Loaders take a DataFile& so they can read either. Operations on a file that is not open return
// their failure value and report nothing else.
class DataFile : public base::LObject {
  public:
    // Opens the named file; throws app::FileError ("File not found : %s") when there is none.
    // Opening an open object simply takes the new file.
    virtual void Open(std::string_view name) = 0;
    virtual int Close() = 0;
    // The position from the start of the file; -1 when not open.
    virtual int GetPos() const = 0;
    // origin 0: from the start, 1: from the current position, 2: from the end. False (and the
    // position unchanged) when the target is not allowed.
    virtual bool Seek(int offset, int origin) = 0;
    // The size in bytes; -1 when not open.
    virtual int GetSize() const = 0;
    // Copies count bytes (count < 0: the size) to the buffer, which must hold them.
    virtual int Read(void* buffer, int count) = 0;
    // The next line without its terminator (CR, LF or CR LF); false at the end.
    virtual bool ReadLine(std::string& line) = 0;
    // The next line into a buffer of capacity bytes, no NUL written; the count, or -1.
    virtual int ReadLine(char* buffer, int capacity) = 0;
};

}  // namespace vs::resources
