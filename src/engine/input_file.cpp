#include "engine/input_file.h"

#include <cerrno>
#include <cstring>
#include <fstream>
#include <system_error>
#include <utility>

#include "engine/refusal.h"

namespace quorvel {

namespace {

// The system's error goes by number as well as in its words: each front end words it itself.
[[noreturn]] void refuse(RefusalKind kind, const std::string& file, int error = 0) {
  Refusal refusal;
  refusal.kind = kind;
  refusal.file = file;
  if (error != 0) refusal.reason = std::strerror(error);
  refusal.system_error = error;
  throw Refused(std::move(refusal));
}

[[noreturn]] void refuse_size(const std::string& file, std::int64_t limit) {
  throw Refused({.kind = RefusalKind::file_too_large, .file = file, .limit = limit});
}

// Known before opening: opening a pipe for reading waits for a writer, perhaps for ever.
void refuse_what_is_no_file(const std::filesystem::path& path, const std::string& name) {
  namespace fs = std::filesystem;
  std::error_code ec;
  const fs::file_status status = fs::status(path, ec);
  switch (status.type()) {
    case fs::file_type::not_found:
      refuse(RefusalKind::file_missing, name, ENOENT);
    case fs::file_type::directory:
      refuse(RefusalKind::file_is_folder, name);
    case fs::file_type::fifo:
    case fs::file_type::socket:
    case fs::file_type::block:
    case fs::file_type::character:
      refuse(RefusalKind::file_not_regular, name);
    default:
      break;  // a file, or a status the system would not give: opening it tells why
  }
}

}  // namespace

std::string read_input_file(const std::filesystem::path& path, std::int64_t limit) {
  const std::string name = path.string();
  refuse_what_is_no_file(path, name);
  std::error_code ec;
  const auto size = std::filesystem::file_size(path, ec);
  if (!ec && size > static_cast<std::uintmax_t>(limit)) refuse_size(name, limit);
  std::ifstream in(path, std::ios::binary);
  if (!in) refuse(RefusalKind::file_unreadable, name, errno);
  // One read of the whole file at the size it had, then piece by piece whatever it has grown
  // by since, up to the limit.
  std::string bytes;
  if (!ec && size > 0) {
    bytes.resize(static_cast<std::size_t>(size));
    in.read(bytes.data(), static_cast<std::streamsize>(size));
    bytes.resize(static_cast<std::size_t>(in.gcount()));
  }
  char chunk[65536];
  while (in.read(chunk, sizeof chunk) || in.gcount() > 0) {
    if (static_cast<std::int64_t>(bytes.size() + static_cast<std::size_t>(in.gcount())) > limit)
      refuse_size(name, limit);
    bytes.append(chunk, static_cast<std::size_t>(in.gcount()));
  }
  if (in.bad()) refuse(RefusalKind::file_unreadable, name, errno != 0 ? errno : EIO);
  return bytes;
}

}  // namespace quorvel
