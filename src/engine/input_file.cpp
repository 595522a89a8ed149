#include "engine/input_file.h"

#include <cerrno>
#include <cstring>
#include <fstream>
#include <system_error>

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

}  // namespace

std::string read_input_file(const std::filesystem::path& path) {
  const std::string name = path.string();
  std::error_code ec;
  const auto status = std::filesystem::status(path, ec);
  if (status.type() == std::filesystem::file_type::not_found)
    refuse(RefusalKind::file_missing, name);
  if (status.type() == std::filesystem::file_type::directory)
    refuse(RefusalKind::file_is_folder, name);
  std::ifstream in(path, std::ios::binary);
  if (!in) refuse(RefusalKind::file_unreadable, name, errno);
  // One read of the whole file where its size is known (a regular file), else piece by piece.
  std::string bytes;
  in.seekg(0, std::ios::end);
  const auto size = in.tellg();
  if (size < 0)
    in.clear();  // a pipe or a device: no size to ask for
  else
    in.seekg(0, std::ios::beg);
  if (size > 0) {
    bytes.resize(static_cast<std::size_t>(size));
    in.read(bytes.data(), size);
    bytes.resize(static_cast<std::size_t>(in.gcount()));
  }
  char chunk[65536];
  while (in.read(chunk, sizeof chunk) || in.gcount() > 0)
    bytes.append(chunk, static_cast<std::size_t>(in.gcount()));
  if (in.bad()) refuse(RefusalKind::file_unreadable, name, errno != 0 ? errno : EIO);
  return bytes;
}

}  // namespace quorvel
