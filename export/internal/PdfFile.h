// A PDF file built in memory: numbered objects, Flate-compressed streams, the
// cross-reference table and the trailer. Private to the exporters.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace lumo {

class PdfFile {
 public:
  PdfFile();

  // A new object number, for an object written later.
  [[nodiscard]] int Reserve();
  // Writes object `id`: a dictionary, an array or any other value.
  void Object(int id, std::string_view value);
  // Writes object `id` as a stream of `data`, Flate-compressed; `entries` go
  // into its dictionary beside /Filter and /Length. False when zlib has no
  // memory for it.
  [[nodiscard]] bool Stream(int id, std::string_view entries, std::string_view data);

  // The whole file: the cross-reference table (every reserved object must be
  // written by now) and the trailer naming the catalogue and the document
  // information.
  [[nodiscard]] std::string Finish(int catalog, int info);

 private:
  void Begin(int id);

  std::string bytes_;
  std::vector<std::size_t> offsets_;  // of object n at n - 1
};

// "N 0 R": a reference to object `id`.
[[nodiscard]] std::string Ref(int id);

}  // namespace lumo
