// The file's skeleton; what the objects say is the exporters' business.
#include "PdfFile.h"

#include <zlib.h>

#include <cstdio>

namespace lumo {

// The comment of bytes above 127 tells file transfer tools the file is binary.
PdfFile::PdfFile() : bytes_("%PDF-1.4\n%\xE2\xE3\xCF\xD3\n") {}

int PdfFile::Reserve() {
  offsets_.push_back(0);
  return static_cast<int>(offsets_.size());
}

void PdfFile::Begin(int id) {
  offsets_[static_cast<std::size_t>(id) - 1] = bytes_.size();
  bytes_ += std::to_string(id);
  bytes_ += " 0 obj\n";
}

void PdfFile::Object(int id, std::string_view value) {
  Begin(id);
  bytes_ += value;
  bytes_ += "\nendobj\n";
}

bool PdfFile::Stream(int id, std::string_view entries, std::string_view data) {
  uLongf size = compressBound(static_cast<uLong>(data.size()));
  std::string packed(size, '\0');
  if (compress2(reinterpret_cast<Bytef*>(packed.data()), &size,
                reinterpret_cast<const Bytef*>(data.data()), static_cast<uLong>(data.size()),
                Z_DEFAULT_COMPRESSION) != Z_OK) {
    return false;
  }
  Begin(id);
  bytes_ += "<< ";
  bytes_ += entries;
  bytes_ += " /Filter /FlateDecode /Length ";
  bytes_ += std::to_string(size);
  bytes_ += " >>\nstream\n";
  bytes_.append(packed, 0, size);
  bytes_ += "\nendstream\nendobj\n";
  return true;
}

std::string PdfFile::Finish(int catalog, int info) {
  const std::size_t table = bytes_.size();
  const std::string count = std::to_string(offsets_.size() + 1);
  bytes_ += "xref\n0 " + count + "\n0000000000 65535 f \n";
  for (const std::size_t offset : offsets_) {
    char entry[21];
    std::snprintf(entry, sizeof entry, "%010zu 00000 n \n", offset);
    bytes_ += entry;
  }
  bytes_ += "trailer\n<< /Size " + count + " /Root " + Ref(catalog) + " /Info " + Ref(info) +
            " >>\nstartxref\n" + std::to_string(table) + "\n%%EOF\n";
  return std::move(bytes_);
}

std::string Ref(int id) { return std::to_string(id) + " 0 R"; }

}  // namespace lumo
