#pragma once

#include "platform/FileDescriptor.h"
#include "platform/SystemError.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace hv {

struct TSafeWriteOptions {
    // The message of the EFileError thrown on failure, already formatted by the caller
    // (e.g. the "could not save" text naming the document). Empty: a message naming the path
    // and the system's reason.
    std::string ErrorMessage;
    // Makes the full path of a temporary file in dir for a target named fileName; called again
    // with fresh randomness whenever the name is taken. Empty: DefaultTempName.
    std::function<std::string(const std::string& dir, const std::string& fileName)> TempName;
    // For tests: the write fails (as on a full disk) once this many bytes are written.
    std::optional<std::size_t> FailAfterBytes;
    // For tests: false makes the named temporary file at once, as on a file system without
    // nameless temporary files.
    bool NamelessTemp = true;
};

// Takes the bytes of a file piece by piece while it is written.
class TByteSink {
public:
    virtual ~TByteSink() = default;
    virtual void Write(std::string_view bytes) = 0;
};

// Replaces the file at path with bytes so that it holds either the old or the new content
// whatever happens: a symbolic link at path is followed to its real file (the link stays);
// a temporary file is created exclusively beside that real file, filled, flushed to disk,
// given the permission bits of the old file (a new file gets what open() with 0666 and the
// umask gives) and renamed over it; the directory is flushed as well when possible.
// On failure the temporary file is removed, the old file is untouched and EFileError is thrown.
// The temporary file is nameless (O_TMPFILE) until it is complete where the file system allows,
// so a writer killed before then leaves nothing behind; elsewhere it is named from the start,
// marked as a temporary file and locked while its writer lives.
void WriteFileSafely(const std::string& path, std::string_view bytes, const TSafeWriteOptions& options = {});
// The same with the bytes given piece by piece to the sink by produce, so that a large file is
// never held in memory whole. An exception from produce leaves the old file as it was and
// passes on.
void WriteFileSafely(const std::string& path, const std::function<void(TByteSink&)>& produce,
                     const TSafeWriteOptions& options = {});

// Removes what killed writers left of the document at path: files beside it of the document's
// temporary name form (DocumentTempName) that carry the temporary file's mark and that no
// writer holds. Anything else of that name form (a user's own "doc.2024.0101.hv") stays.
void RemoveLeftoverDocumentTempFiles(const std::string& path);

// "dir/.NAME.NNNN.tmp" with four random digits.
std::string DefaultTempName(const std::string& dir, const std::string& fileName);
// The temporary name of documents: the file name without its extension, two random numbers
// 0..9999 of four digits and ".hv" ("%s.%.4d.%.4d.hv"), in dir.
std::string DocumentTempName(const std::string& dir, const std::string& fileName);

// A file read piece by piece, for files too large to hold at once.
class TFileReader {
public:
    // Throws EFileError naming the path when the file cannot be opened.
    explicit TFileReader(const std::string& path);
    TFileReader(const TFileReader&) = delete;
    TFileReader& operator=(const TFileReader&) = delete;
    ~TFileReader();

    // Reads up to max bytes into into and tells how many; 0 at the end of the file. Throws
    // EFileError naming the path when reading fails.
    std::size_t Read(char* into, std::size_t max);
    // The size of a regular file, else 0.
    std::size_t SizeHint() const;

private:
    std::string m_Path;
    TFd m_File;
};

// The whole content of a file; throws EFileError naming the path when it cannot be read.
std::string ReadFileBytes(const std::string& path);

// True when something other than a directory exists at path (links followed).
bool FileExists(const std::string& path);

// What tells one state of a file from another: which file it is, its size and the times of its
// last changes, to the nanosecond.
struct TFileStamp {
    std::uint64_t Device = 0;
    std::uint64_t Inode = 0;
    std::int64_t Size = 0;
    std::int64_t Modified = 0; // nanoseconds
    std::int64_t Changed = 0;  // nanoseconds
    bool operator==(const TFileStamp&) const = default;
};
// The stamp of the regular file at path (links followed); nullopt for anything else.
std::optional<TFileStamp> FileStampOf(const std::string& path);

} // namespace hv
