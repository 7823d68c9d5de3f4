// Makes the program's artwork from the text pictures beside it and from the drawings below.
// Host tool built by the native preset; the generated files are committed, and the unit test
// committed_art_matches_its_sources fails when they are not what this makes. After a change:
//   build/native/make_art resources/art resources
// Writes finder.ico (17 x 17, 16 colours), finder_box.bmp (17 x 18), launcher_tooth.bmp
// (41 x 43) and molars.bmp (71 x 75), the bitmaps as 24-bit bottom-up BMP files.
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <fstream>
#include <functional>
#include <iostream>
#include <map>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

struct Colour {
  double r = 0, g = 0, b = 0;
};

Colour Mix(Colour a, Colour b, double t) {
  t = std::clamp(t, 0.0, 1.0);
  return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}

Colour Hex(std::uint32_t rgb) {
  return {static_cast<double>((rgb >> 16) & 0xFF), static_cast<double>((rgb >> 8) & 0xFF),
          static_cast<double>(rgb & 0xFF)};
}

std::uint8_t Byte(double v) {
  return static_cast<std::uint8_t>(std::clamp(std::lround(v), 0L, 255L));
}

struct Picture {
  int width = 0;
  int height = 0;
  std::vector<Colour> pixels;     // row 0 at the top
  std::vector<bool> transparent;  // only icons use it
  Colour& At(int x, int y) { return pixels[static_cast<std::size_t>(y * width + x)]; }
};

// A text picture: "size W H", "colour C RRGGBB|transparent" lines, then "pixels" and H rows.
Picture ReadTextPicture(const std::string& path) {
  std::ifstream in(path);
  if (!in) throw std::runtime_error("cannot read " + path);
  Picture picture;
  std::map<char, std::pair<bool, Colour>> palette;
  std::string line;
  bool inPixels = false;
  int row = 0;
  while (std::getline(in, line)) {
    if (!inPixels) {
      if (line.empty() || line[0] == '#') continue;
      std::istringstream words(line);
      std::string keyword;
      words >> keyword;
      if (keyword == "size") {
        words >> picture.width >> picture.height;
        picture.pixels.resize(static_cast<std::size_t>(picture.width * picture.height));
        picture.transparent.resize(picture.pixels.size());
      } else if (keyword == "colour") {
        std::string name, value;
        words >> name >> value;
        palette[name[0]] =
            value == "transparent" ? std::pair{true, Colour{}} : std::pair{false, Hex(std::stoul(value, nullptr, 16))};
      } else if (keyword == "pixels") {
        inPixels = true;
      }
      continue;
    }
    if (row >= picture.height) break;
    if (static_cast<int>(line.size()) != picture.width) throw std::runtime_error(path + ": row of wrong width");
    for (int x = 0; x < picture.width; ++x) {
      auto found = palette.find(line[static_cast<std::size_t>(x)]);
      if (found == palette.end()) throw std::runtime_error(path + ": unknown colour character");
      picture.At(x, row) = found->second.second;
      picture.transparent[static_cast<std::size_t>(row * picture.width + x)] = found->second.first;
    }
    ++row;
  }
  if (row != picture.height) throw std::runtime_error(path + ": too few rows");
  return picture;
}

void Put16(std::string& out, std::uint16_t v) {
  out += static_cast<char>(v & 0xFF);
  out += static_cast<char>(v >> 8);
}
void Put32(std::string& out, std::uint32_t v) {
  Put16(out, static_cast<std::uint16_t>(v & 0xFFFF));
  Put16(out, static_cast<std::uint16_t>(v >> 16));
}

void PutInfoHeader(std::string& out, int width, int height, int bitCount, std::uint32_t imageSize, int colours) {
  Put32(out, 40);
  Put32(out, static_cast<std::uint32_t>(width));
  Put32(out, static_cast<std::uint32_t>(height));
  Put16(out, 1);
  Put16(out, static_cast<std::uint16_t>(bitCount));
  Put32(out, 0);  // BI_RGB
  Put32(out, imageSize);
  Put32(out, 3780);  // 96 dpi
  Put32(out, 3780);
  Put32(out, static_cast<std::uint32_t>(colours));
  Put32(out, 0);
}

void WriteFile(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  if (!out) throw std::runtime_error("cannot write " + path);
}

void WriteBmp24(const Picture& picture, const std::string& path) {
  const int stride = (picture.width * 3 + 3) / 4 * 4;
  const auto imageSize = static_cast<std::uint32_t>(stride * picture.height);
  std::string out = "BM";
  Put32(out, 14 + 40 + imageSize);
  Put32(out, 0);
  Put32(out, 14 + 40);
  PutInfoHeader(out, picture.width, picture.height, 24, imageSize, 0);
  for (int y = picture.height - 1; y >= 0; --y) {
    std::string row;
    for (int x = 0; x < picture.width; ++x) {
      const Colour& c = picture.pixels[static_cast<std::size_t>(y * picture.width + x)];
      row += static_cast<char>(Byte(c.b));
      row += static_cast<char>(Byte(c.g));
      row += static_cast<char>(Byte(c.r));
    }
    row.resize(static_cast<std::size_t>(stride), '\0');
    out += row;
  }
  WriteFile(path, out);
}

// The 16 colours of the standard palette, in their usual order.
constexpr std::array<std::uint32_t, 16> kStandardColours = {0x000000, 0x800000, 0x008000, 0x808000, 0x000080, 0x800080,
                                                            0x008080, 0xC0C0C0, 0x808080, 0xFF0000, 0x00FF00, 0xFFFF00,
                                                            0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF};

int StandardIndex(Colour c) {
  for (int i = 0; i < 16; ++i) {
    const Colour s = Hex(kStandardColours[static_cast<std::size_t>(i)]);
    if (s.r == c.r && s.g == c.g && s.b == c.b) return i;
  }
  throw std::runtime_error("an icon colour is not one of the 16 standard colours");
}

// A one-image .ico, 4 bits per pixel with its AND mask (transparent pixels: mask 1, colour 0).
void WriteIco16(const Picture& picture, const std::string& path) {
  const int xorStride = (picture.width * 4 + 31) / 32 * 4;
  const int andStride = (picture.width + 31) / 32 * 4;
  const auto imageBytes =
      static_cast<std::uint32_t>(40 + 16 * 4 + xorStride * picture.height + andStride * picture.height);
  std::string out;
  Put16(out, 0);
  Put16(out, 1);  // an icon
  Put16(out, 1);  // one image
  out += static_cast<char>(picture.width);
  out += static_cast<char>(picture.height);
  out += static_cast<char>(16);  // colours
  out += '\0';
  Put16(out, 1);  // planes
  Put16(out, 4);  // bits per pixel
  Put32(out, imageBytes);
  Put32(out, 6 + 16);
  PutInfoHeader(out, picture.width, picture.height * 2, 4,
                static_cast<std::uint32_t>((xorStride + andStride) * picture.height), 16);
  for (std::uint32_t rgb : kStandardColours) Put32(out, rgb);  // 0x00RRGGBB is RGBQUAD's byte order
  for (int y = picture.height - 1; y >= 0; --y) {
    std::string row(static_cast<std::size_t>(xorStride), '\0');
    for (int x = 0; x < picture.width; ++x) {
      const auto i = static_cast<std::size_t>(y * picture.width + x);
      const int index = picture.transparent[i] ? 0 : StandardIndex(picture.pixels[i]);
      row[static_cast<std::size_t>(x / 2)] |= static_cast<char>(x % 2 == 0 ? index << 4 : index);
    }
    out += row;
  }
  for (int y = picture.height - 1; y >= 0; --y) {
    std::string row(static_cast<std::size_t>(andStride), '\0');
    for (int x = 0; x < picture.width; ++x) {
      if (picture.transparent[static_cast<std::size_t>(y * picture.width + x)]) {
        row[static_cast<std::size_t>(x / 8)] |= static_cast<char>(0x80 >> (x % 8));
      }
    }
    out += row;
  }
  WriteFile(path, out);
}

// ---- Drawn pictures. A tooth is a shape in a unit box (x right, y down), drawn with 4 x 4
// samples per pixel so its edges are smooth when the picture is shown small or stretched.

double Smooth(double a, double b, double x) {
  const double t = std::clamp((x - a) / (b - a), 0.0, 1.0);
  return t * t * (3 - 2 * t);
}

// A molar: two cusps, a crown that narrows to the neck, two tapering roots.
bool InTooth(double x, double y) {
  auto inCircle = [&](double cx, double cy, double r) { return (x - cx) * (x - cx) + (y - cy) * (y - cy) <= r * r; };
  if (inCircle(0.31, 0.21, 0.19) || inCircle(0.69, 0.21, 0.19)) return true;
  if (y >= 0.2 && y <= 0.6) {
    const double half = 0.37 - 0.07 * Smooth(0.3, 0.6, y);
    if (std::abs(x - 0.5) <= half && !(y > 0.5 && inCircle(0.5, 0.72, 0.13))) return true;
  }
  for (double side : {-1.0, 1.0}) {
    if (y < 0.5 || y > 0.96) continue;
    const double t = (y - 0.5) / 0.46;
    const double centre = 0.5 + side * (0.19 - 0.03 * t);
    const double half = 0.12 * (1 - t) + 0.035 * t;
    if (std::abs(x - centre) <= half) return true;
  }
  return false;
}

// How much of the pixel at (px, py) the shape covers, the shape occupying `box` (left, top,
// width, height in pixels); `inset` shrinks the shape by that many pixels.
double Coverage(double px, double py, const std::array<double, 4>& box, double inset = 0) {
  int inside = 0;
  for (int sy = 0; sy < 4; ++sy) {
    for (int sx = 0; sx < 4; ++sx) {
      const double x = px + (sx + 0.5) / 4, y = py + (sy + 0.5) / 4;
      auto in = [&](double dx, double dy) { return InTooth((x + dx - box[0]) / box[2], (y + dy - box[1]) / box[3]); };
      bool all = in(0, 0);
      if (all && inset > 0) {
        for (int k = 0; k < 8 && all; ++k) {
          const double a = k * 3.14159265358979 / 4;
          all = in(inset * std::cos(a), inset * std::sin(a));
        }
      }
      inside += all ? 1 : 0;
    }
  }
  return inside / 16.0;
}

// Draws a white tooth with a dark outline and a shade on its right side over `picture`.
void DrawTooth(Picture& picture, const std::array<double, 4>& box, Colour outline, double outlineWidth) {
  const Colour white = Hex(0xFFFFFF), shade = Hex(0xC8C8D8);
  for (int y = 0; y < picture.height; ++y) {
    for (int x = 0; x < picture.width; ++x) {
      const double outer = Coverage(x, y, box);
      if (outer == 0) continue;
      const double inner = Coverage(x, y, box, outlineWidth);
      const double u = (x + 0.5 - box[0]) / box[2];
      const double v = (y + 0.5 - box[1]) / box[3];
      Colour fill = Mix(white, shade, Smooth(0.55, 0.95, u) + 0.4 * Smooth(0.55, 1.0, v));
      // A gloss on the left cusp.
      const double gloss = std::hypot(u - 0.27, v - 0.2);
      fill = Mix(fill, white, 1 - Smooth(0.03, 0.1, gloss));
      Colour& c = picture.At(x, y);
      c = Mix(c, outline, outer);
      c = Mix(c, fill, inner);
    }
  }
}

Picture Blank(int width, int height) {
  Picture p;
  p.width = width;
  p.height = height;
  p.pixels.resize(static_cast<std::size_t>(width * height));
  p.transparent.resize(p.pixels.size());
  return p;
}

// The launcher: a white tooth on a purple ground, lighter at the top.
Picture LauncherTooth() {
  Picture p = Blank(41, 43);
  for (int y = 0; y < p.height; ++y) {
    for (int x = 0; x < p.width; ++x) p.At(x, y) = Mix(Hex(0x8A3FC0), Hex(0x4B1678), (y + 0.5) / p.height);
  }
  DrawTooth(p, {5.5, 4.0, 30.0, 36.0}, Hex(0x2A0A45), 1.1);
  return p;
}

// The screen's picture: two molars side by side in a pink gum, on the screen's dark blue.
Picture Molars() {
  Picture p = Blank(71, 75);
  for (auto& c : p.pixels) c = Hex(0x0000A9);
  DrawTooth(p, {1.0, 3.0, 34.0, 82.0}, Hex(0x303048), 1.2);
  DrawTooth(p, {36.0, 3.0, 34.0, 82.0}, Hex(0x303048), 1.2);
  // The gum covers the roots: its edge rises between the teeth, drawn over the teeth.
  for (int y = 0; y < p.height; ++y) {
    for (int x = 0; x < p.width; ++x) {
      int inside = 0;
      for (int s = 0; s < 16; ++s) {
        const double sx = x + (s % 4 + 0.5) / 4, sy = y + (s / 4 + 0.5) / 4;
        const double top = 46 - 4 * std::cos((sx - 1) / 35.0 * 2 * 3.14159265358979);
        inside += sy >= top ? 1 : 0;
      }
      const double gum = inside / 16.0;
      Colour pink = Mix(Hex(0xF08CA0), Hex(0xC0506A), Smooth(42, 75, y + 0.5));
      p.At(x, y) = Mix(p.At(x, y), pink, gum);
    }
  }
  return p;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::cerr << "usage: make_art ART_FOLDER OUTPUT_FOLDER\n";
    return 2;
  }
  const std::string art = argv[1], out = argv[2];
  try {
    WriteIco16(ReadTextPicture(art + "/finder_icon.txt"), out + "/finder.ico");
    WriteBmp24(ReadTextPicture(art + "/finder_box.txt"), out + "/finder_box.bmp");
    WriteBmp24(LauncherTooth(), out + "/launcher_tooth.bmp");
    WriteBmp24(Molars(), out + "/molars.bmp");
  } catch (const std::exception& e) {
    std::cerr << "make_art: " << e.what() << "\n";
    return 1;
  }
  return 0;
}
