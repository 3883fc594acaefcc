#include "tools/description_compiler/description_writer.h"

#include <algorithm>
#include <bit>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <set>
#include <string_view>

#include "winrt/window_description.h"

namespace lumbra::description {

namespace {

struct KindName {
  const char* name;
  RecordType type;
};

// The record kinds of the source form.
constexpr KindName kKinds[] = {
    {"window", RecordType::Window},
    {"menubar", RecordType::MenuBar},
    {"menu", RecordType::Menu},
    {"item", RecordType::MenuItem},
    {"separator", RecordType::MenuItem},
    {"toolbar", RecordType::ToolBar},
    {"button", RecordType::Button},
    {"panel", RecordType::Panel},
    {"box", RecordType::Box},
    {"image", RecordType::Image},
    {"region", RecordType::Region},
    {"prompt", RecordType::Prompt},
    {"string", RecordType::String},
    {"boundstring", RecordType::BoundString},
    {"entry", RecordType::Entry},
    {"check", RecordType::Check},
    {"option", RecordType::Option},
    {"radio", RecordType::Radio},
    {"group", RecordType::Group},
    {"list", RecordType::List},
    {"spin", RecordType::Spin},
    {"sheet", RecordType::Sheet},
    {"tab", RecordType::Tab},
};

// How the values of a source field are read and stored.
enum class Arg {
  I32,
  Flags,
  Colour,
  U8,
  U16,
  F64,
  String,
  Rect,
  Font,
  TextColour,
  Colours,
  Use,
  Values,
  Drop,
  Message,
  Tip,
  Help,
  HotKey,
  AlertKeys,
  Range,
  Wallpaper,
  Times,
  BoxColours,
};

struct FieldName {
  const char* name;
  Arg arg;
  Field field;  // where it is stored; Field::Count for the record header
};

// The fields of the source form. A field may only be given to a record
// whose type stores it.
constexpr FieldName kFields[] = {
    {"flags", Arg::Flags, Field::Count},
    {"drop", Arg::Drop, Field::Count},
    {"rect", Arg::Rect, Field::Rect},
    {"text", Arg::String, Field::Text},
    {"title", Arg::String, Field::Text},
    {"picture", Arg::String, Field::Text},
    {"font", Arg::Font, Field::Font},
    {"textcolour", Arg::TextColour, Field::Font},
    {"colours", Arg::Colours, Field::Colours},
    {"cursor", Arg::String, Field::Cursor},
    {"icon", Arg::String, Field::Icon},
    {"action", Arg::I32, Field::Action},
    {"buttonflags", Arg::U8, Field::ByteFlags},
    {"entryflags", Arg::U8, Field::ByteFlags},
    {"placement", Arg::U8, Field::ByteFlags},
    {"listflags", Arg::U8, Field::ByteFlags},
    {"file", Arg::String, Field::FileName},
    {"format", Arg::String, Field::FileName},
    {"boxcolours", Arg::BoxColours, Field::BoxColours},
    {"linewidth", Arg::I32, Field::LineWidth},
    {"bevel", Arg::U16, Field::Bevel},
    {"dropdown", Arg::U8, Field::DropFlag},
    {"use", Arg::Use, Field::Use},
    {"source", Arg::Use, Field::Source},
    {"gridcolour", Arg::Colour, Field::GridColour},
    {"range", Arg::Range, Field::Lower},
    {"step", Arg::F64, Field::Step},
    {"delay", Arg::U16, Field::Delay},
    {"repeat", Arg::U16, Field::Repeat},
    {"value", Arg::String, Field::Value},
    {"times", Arg::Times, Field::Times},
    {"frame", Arg::I32, Field::FrameFlags},
    {"timer", Arg::I32, Field::Timer},
    {"status", Arg::Values, Field::StatusZones},
    {"wallpaper", Arg::Wallpaper, Field::Wallpaper},
    {"message", Arg::Message, Field::Info},
    {"tip", Arg::Tip, Field::Info},
    {"help", Arg::Help, Field::Info},
    {"hotkey", Arg::HotKey, Field::Info},
    {"alertkeys", Arg::AlertKeys, Field::Info},  // the window keeps its own list
};

struct UseName {
  const char* name;
  std::uint8_t type;
  int size;  // -1: given in the source
};
constexpr UseName kUses[] = {{"byte", kUseByte, 1},
                             {"short", kUseShort, 2},
                             {"long", kUseLong, 4},
                             {"string", kUseString, -1},
                             {"queue", kUseQueue, 0}};

const KindName* FindKind(std::string_view name) {
  for (const KindName& k : kKinds) {
    if (name == k.name) return &k;
  }
  return nullptr;
}

const FieldName* FindField(std::string_view name) {
  for (const FieldName& f : kFields) {
    if (name == f.name) return &f;
  }
  return nullptr;
}

class Compiler {
 public:
  explicit Compiler(std::vector<std::string>& errors) : errors_(errors) { out_.assign(6, 0); }

  // Compiles one file's window; returns its record offset (0 on error).
  std::int32_t Window(const WindowSource& source) {
    diag_.file = source.file;
    diag_.messages.clear();
    const SourceRecord* window = nullptr;
    for (const SourceRecord& r : source.records) {
      if (r.kind != "window") {
        diag_.Error(r.line, "only a window can stand at the top of a file, not \"" + r.kind + "\"");
      } else if (window) {
        diag_.Error(r.line, "one window per file");
      } else {
        window = &r;
      }
    }
    if (!window && diag_.ok()) diag_.Error(1, "the file describes no window");
    std::int32_t offset = 0;
    if (window) {
      numbers_.clear();
      offset = Emit(*window, nullptr);
    }
    errors_.insert(errors_.end(), diag_.messages.begin(), diag_.messages.end());
    return diag_.ok() ? offset : 0;
  }

  std::vector<std::uint8_t>& bytes() { return out_; }
  void Put32(std::int32_t at, std::int32_t v) {
    for (int i = 0; i < 4; ++i) {
      out_[static_cast<std::size_t>(at + i)] =
          static_cast<std::uint8_t>(static_cast<std::uint32_t>(v) >> (8 * i));
    }
  }

 private:
  std::int32_t Here() const { return static_cast<std::int32_t>(out_.size()); }

  void Append32(std::int32_t v) {
    out_.resize(out_.size() + 4);
    Put32(Here() - 4, v);
  }

  std::int32_t String(const std::string& s) {
    if (s.empty()) return 0;
    const std::int32_t at = Here();
    out_.insert(out_.end(), s.begin(), s.end());
    out_.push_back(0);
    return at;
  }

  std::int32_t Block(std::initializer_list<std::int32_t> values) {
    const std::int32_t at = Here();
    for (std::int32_t v : values) Append32(v);
    return at;
  }

  std::int32_t ValueList(const std::vector<std::int32_t>& values) {
    if (values.empty()) return 0;
    const std::int32_t at = Here();
    for (std::size_t i = 0; i < values.size(); ++i) {
      Append32(values[i]);
      Append32(i + 1 < values.size() ? Here() + 4 : 0);
    }
    return at;
  }

  // --- values ---

  std::optional<std::int64_t> Integer(const Token& t, std::int64_t min, std::int64_t max) {
    std::int64_t value = 0;
    const std::string& s = t.text;
    if (t.kind == Token::Word && s == "default") {
      value = kDefaultValue;
    } else if (t.kind == Token::Word && s.size() == 7 && s[0] == '#' &&
               s.find_first_not_of("0123456789abcdefABCDEF", 1) == std::string::npos) {
      const long rgb = std::strtol(s.c_str() + 1, nullptr, 16);
      value = (rgb >> 16 & 0xFF) | (rgb & 0xFF00) | (rgb & 0xFF) << 16;
    } else {
      char* end = nullptr;
      errno = 0;
      const long long parsed = std::strtoll(s.c_str(), &end, 0);
      if (t.kind != Token::Word || s.empty() || *end != 0 || errno == ERANGE) {
        diag_.Error(t.line, "\"" + s + "\" is not a number");
        return std::nullopt;
      }
      value = parsed;
    }
    if (value < min || value > max) {
      diag_.Error(t.line, "value " + s + " out of range (" + std::to_string(min) + " to " +
                              std::to_string(max) + ")");
      return std::nullopt;
    }
    return value;
  }

  std::int32_t I32(const Token& t) {
    return static_cast<std::int32_t>(Integer(t, INT32_MIN, UINT32_MAX).value_or(0));
  }
  std::int32_t Colour(const Token& t) {
    return static_cast<std::int32_t>(Integer(t, -1, 0xFFFFFF).value_or(0));
  }

  double Real(const Token& t) {
    char* end = nullptr;
    const double v = std::strtod(t.text.c_str(), &end);
    if (t.kind != Token::Word || t.text.empty() || *end != 0) {
      diag_.Error(t.line, "\"" + t.text + "\" is not a number");
      return 0;
    }
    return v;
  }

  std::string Text(const Token& t) {
    if (t.kind != Token::String) diag_.Error(t.line, "expected a quoted string, found " + t.text);
    return t.text;
  }

  bool Count(const SourceField& f, std::size_t min, std::size_t max) {
    if (f.values.size() < min || f.values.size() > max) {
      diag_.Error(f.line, "\"" + f.name + "\" takes " + std::to_string(min) +
                              (max != min ? " to " + std::to_string(max) : "") + " values, not " +
                              std::to_string(f.values.size()));
      return false;
    }
    return true;
  }

  // --- records ---

  struct Info {
    std::int32_t message = 0, tip = 0, help = 0, hotKey = 0, alertKeys = 0;
  };

  void PutAt(std::vector<std::uint8_t>& rec, std::int32_t at, std::uint64_t v, int width) {
    for (int i = 0; i < width; ++i) {
      rec[static_cast<std::size_t>(at + i)] = static_cast<std::uint8_t>(v >> (8 * i));
    }
  }

  bool Allowed(const SourceRecord& parent, RecordType child) {
    const RecordType p = FindKind(parent.kind)->type;
    switch (child) {
      case RecordType::Window: return false;
      case RecordType::MenuBar:
      case RecordType::ToolBar: return p == RecordType::Window;
      case RecordType::Menu: return p == RecordType::MenuBar || p == RecordType::Menu;
      case RecordType::MenuItem: return p == RecordType::Menu;
      case RecordType::Tab: return p == RecordType::Sheet;
      case RecordType::Radio: return p == RecordType::Option;
      default:
        return p == RecordType::Window || p == RecordType::Group || p == RecordType::ToolBar ||
               p == RecordType::Tab;
    }
  }

  // Writes a record with its sub-blocks before it and its children after
  // it; returns its offset (0 on error).
  std::int32_t Emit(const SourceRecord& r, const SourceRecord* parent) {
    const KindName* kind = FindKind(r.kind);
    if (!kind) {
      diag_.Error(r.line, "unknown record kind \"" + r.kind + "\"");
      return 0;
    }
    if (parent && !Allowed(*parent, kind->type)) {
      diag_.Error(r.line, "a " + r.kind + " cannot stand inside a " + parent->kind);
      return 0;
    }
    const DescriptionLayout& layout = *RecordLayoutOf(static_cast<std::uint8_t>(kind->type));
    std::vector<std::uint8_t> rec(layout.size, 0);
    rec[0] = static_cast<std::uint8_t>(kind->type);
    // A colour that the source does not give is "not set", not black.
    if (layout.has(Field::GridColour)) PutAt(rec, layout.offset(Field::GridColour), 0xFFFFFFFFu, 4);
    std::int32_t flags = r.kind == "separator" ? kItemSeparator : 0;

    // The name of a window, the control number of the others.
    const bool named = kind->type == RecordType::Window;
    const bool numbered = layout.has(Field::Number) && r.kind != "separator";
    const std::size_t wanted = named || numbered ? 1 : 0;
    if (r.arguments.size() != wanted) {
      diag_.Error(r.line, "a " + r.kind + " takes " +
                              (named      ? "its name"
                               : numbered ? "its control number"
                                          : "no value") +
                              " after the kind");
    } else if (named) {
      const std::string name = Text(r.arguments[0]);
      if (name.empty()) diag_.Error(r.line, "a window needs a name");
      if (!windowNames_.insert(name).second)
        diag_.Error(r.line, "window " + name + " described twice");
      PutAt(rec, layout.offset(Field::Name), static_cast<std::uint32_t>(String(name)), 4);
    } else if (numbered) {
      const auto n = Integer(r.arguments[0], 1, INT32_MAX);
      if (n && !numbers_.insert(static_cast<std::int32_t>(*n)).second) {
        diag_.Error(r.line, "control number " + std::to_string(*n) + " used twice in this window");
      }
      PutAt(rec, 13, static_cast<std::uint64_t>(n.value_or(0)), 4);
    }

    Info info;
    bool hasInfo = false;
    std::set<std::string> given;
    for (const SourceField& f : r.fields) {
      const FieldName* def = FindField(f.name);
      if (!def) {
        diag_.Error(f.line, "unknown field \"" + f.name + "\"");
        continue;
      }
      Field target = def->field;
      if (def->arg == Arg::AlertKeys && layout.has(Field::AlertKeys)) target = Field::AlertKeys;
      const bool header = target == Field::Count;
      if ((!header && !layout.has(target)) || (def->arg == Arg::Drop && named)) {
        diag_.Error(f.line, "a " + r.kind + " has no field \"" + f.name + "\"");
        continue;
      }
      const std::string slot = def->arg == Arg::TextColour ? "font" : f.name;
      if (!given.insert(slot).second) {
        diag_.Error(f.line, "\"" + f.name + "\" given twice");
        continue;
      }
      const std::int32_t at = header ? 0 : layout.offset(target);
      switch (def->arg) {
        case Arg::Flags:
          if (Count(f, 1, 8)) {
            for (const Token& t : f.values) flags |= I32(t);
          }
          break;
        case Arg::Drop:
          if (Count(f, 1, 16)) {
            std::vector<std::int32_t> names;
            for (const Token& t : f.values) names.push_back(String(Text(t)));
            PutAt(rec, 9, static_cast<std::uint32_t>(ValueList(names)), 4);
          }
          break;
        case Arg::I32:
          if (Count(f, 1, 1)) PutAt(rec, at, static_cast<std::uint32_t>(I32(f.values[0])), 4);
          break;
        case Arg::Colour:
          if (Count(f, 1, 1)) PutAt(rec, at, static_cast<std::uint32_t>(Colour(f.values[0])), 4);
          break;
        case Arg::U8:
          if (Count(f, 1, 1))
            PutAt(rec, at, static_cast<std::uint64_t>(Integer(f.values[0], 0, 255).value_or(0)), 1);
          break;
        case Arg::U16:
          if (Count(f, 1, 1))
            PutAt(rec, at, static_cast<std::uint64_t>(Integer(f.values[0], 0, 65535).value_or(0)),
                  2);
          break;
        case Arg::F64:
          if (Count(f, 1, 1)) PutAt(rec, at, std::bit_cast<std::uint64_t>(Real(f.values[0])), 8);
          break;
        case Arg::Range:
          if (Count(f, 2, 2)) {
            const double lower = Real(f.values[0]), upper = Real(f.values[1]);
            if (lower > upper) diag_.Error(f.line, "the lower bound is above the upper bound");
            PutAt(rec, layout.offset(Field::Lower), std::bit_cast<std::uint64_t>(lower), 8);
            PutAt(rec, layout.offset(Field::Upper), std::bit_cast<std::uint64_t>(upper), 8);
          }
          break;
        case Arg::String:
          if (Count(f, 1, 1))
            PutAt(rec, at, static_cast<std::uint32_t>(String(Text(f.values[0]))), 4);
          break;
        case Arg::Rect:
          if (Count(f, 4, 4)) {
            for (int i = 0; i < 4; ++i)
              PutAt(rec, at + 4 * i,
                    static_cast<std::uint32_t>(I32(f.values[static_cast<std::size_t>(i)])), 4);
          }
          break;
        case Arg::Font:
          if (Count(f, 4, 4)) {
            const std::int32_t face = String(Text(f.values[0]));
            const auto size = Integer(f.values[1], -1, 1000).value_or(0);
            const std::int32_t colour = Colour(f.values[2]);
            const auto weight = Integer(f.values[3], -1, 1000).value_or(0);
            PutAt(rec, at,
                  static_cast<std::uint32_t>(Block({face, static_cast<std::int32_t>(size), colour,
                                                    static_cast<std::int32_t>(weight)})),
                  4);
          }
          break;
        case Arg::TextColour:
          if (Count(f, 1, 1))
            PutAt(rec, at, static_cast<std::uint32_t>(Block({0, 0, Colour(f.values[0]), -1})), 4);
          break;
        case Arg::Colours:
          if (Count(f, 1, 3)) {
            std::int32_t c[3] = {kNoColour, kNoColour, kNoColour};
            for (std::size_t i = 0; i < f.values.size(); ++i) c[i] = Colour(f.values[i]);
            PutAt(rec, at, static_cast<std::uint32_t>(Block({c[0], c[1], c[2]})), 4);
          }
          break;
        case Arg::BoxColours:
          if (Count(f, 2, 2))
            PutAt(rec, at,
                  static_cast<std::uint32_t>(Block({Colour(f.values[0]), Colour(f.values[1])})), 4);
          break;
        case Arg::Use:
          if (Count(f, 1, 2)) PutAt(rec, at, static_cast<std::uint32_t>(Use(f)), 4);
          break;
        case Arg::Values:
          if (Count(f, 1, 32)) {
            std::vector<std::int32_t> values;
            for (const Token& t : f.values) values.push_back(I32(t));
            PutAt(rec, at, static_cast<std::uint32_t>(ValueList(values)), 4);
          }
          break;
        case Arg::AlertKeys:
          if (Count(f, 1, 64)) {
            std::vector<std::int32_t> keys;
            for (const Token& t : f.values) keys.push_back(I32(t));
            const std::int32_t list = ValueList(keys);
            if (target == Field::AlertKeys) {
              PutAt(rec, at, static_cast<std::uint32_t>(list), 4);
            } else {
              info.alertKeys = list;
              hasInfo = true;
            }
          }
          break;
        case Arg::Message:
        case Arg::Tip:
        case Arg::Help:
          if (Count(f, 1, 1)) {
            const std::int32_t s = String(Text(f.values[0]));
            (def->arg == Arg::Message ? info.message
             : def->arg == Arg::Tip   ? info.tip
                                      : info.help) = s;
            hasInfo = true;
          }
          break;
        case Arg::HotKey:
          if (Count(f, 1, 1)) {
            info.hotKey = I32(f.values[0]);
            hasInfo = true;
          }
          break;
        case Arg::Wallpaper:
          if (Count(f, 2, 2)) {
            const std::int32_t mode =
                f.values[0].text == "tiled" ? 2
                : f.values[0].text == "none"
                    ? 0
                    : static_cast<std::int32_t>(Integer(f.values[0], 0, 255).value_or(0));
            PutAt(rec, layout.offset(Field::WallpaperMode), static_cast<std::uint32_t>(mode), 1);
            PutAt(rec, at, static_cast<std::uint32_t>(String(Text(f.values[1]))), 4);
          }
          break;
        case Arg::Times:
          if (Count(f, 2, 2)) {
            PutAt(rec, at, static_cast<std::uint64_t>(Integer(f.values[0], 0, 65535).value_or(0)),
                  2);
            PutAt(rec, at + 2,
                  static_cast<std::uint64_t>(Integer(f.values[1], 0, 65535).value_or(0)), 2);
          }
          break;
      }
    }
    if (hasInfo) {
      const std::int32_t at = layout.offset(Field::Info);
      PutAt(rec, at, static_cast<std::uint32_t>(info.message), 4);
      PutAt(rec, at + 4, static_cast<std::uint32_t>(info.tip), 4);
      PutAt(rec, at + 8, static_cast<std::uint32_t>(info.help), 4);
      PutAt(rec, at + 12, static_cast<std::uint32_t>(info.hotKey), 4);
      PutAt(rec, at + 16, static_cast<std::uint32_t>(info.alertKeys), 4);
    }
    PutAt(rec, 5, static_cast<std::uint32_t>(flags), 4);

    const std::int32_t self = Here();
    out_.insert(out_.end(), rec.begin(), rec.end());

    // Children follow in creation order: a window's menu bar and tool bar
    // first, then its controls; every other record has one chain.
    std::int32_t previous = 0;
    for (const SourceRecord& child : r.children) {
      const std::int32_t offset = Emit(child, &r);
      if (offset == 0) continue;
      const RecordType childType = FindKind(child.kind)->type;
      if (named && (childType == RecordType::MenuBar || childType == RecordType::ToolBar)) {
        const Field slot = childType == RecordType::MenuBar ? Field::MenuBar : Field::ToolBar;
        if (out_[static_cast<std::size_t>(self + layout.offset(slot))] != 0 ||
            I32At(self + layout.offset(slot)) != 0) {
          diag_.Error(child.line, "a window has one " + child.kind);
        }
        Put32(self + layout.offset(slot), offset);
        continue;
      }
      if (!layout.has(Field::Child)) {
        diag_.Error(child.line, "a " + r.kind + " holds no records");
        continue;
      }
      Put32(previous ? previous + 1 : self + layout.offset(Field::Child), offset);
      previous = offset;
    }
    return self;
  }

  std::int32_t I32At(std::int32_t at) const {
    std::uint32_t v = 0;
    for (int i = 3; i >= 0; --i) v = v << 8 | out_[static_cast<std::size_t>(at + i)];
    return static_cast<std::int32_t>(v);
  }

  std::int32_t Use(const SourceField& f) {
    const UseName* use = nullptr;
    for (const UseName& u : kUses) {
      if (f.values[0].text == u.name) use = &u;
    }
    if (!use) {
      diag_.Error(f.line, "unknown variable type \"" + f.values[0].text + "\"");
      return 0;
    }
    std::int64_t size = use->size;
    if (use->size < 0) {
      if (f.values.size() != 2) {
        diag_.Error(f.line, "a string variable needs its length");
        return 0;
      }
      size = Integer(f.values[1], 1, 65535).value_or(0);
    } else if (f.values.size() != 1) {
      diag_.Error(f.line, "a " + f.values[0].text + " variable has a fixed size");
    }
    const std::int32_t at = Here();
    out_.resize(out_.size() + kUseDescriptorSize, 0);
    out_[static_cast<std::size_t>(at)] = use->type;
    out_[static_cast<std::size_t>(at + 1)] = static_cast<std::uint8_t>(size);
    out_[static_cast<std::size_t>(at + 2)] = static_cast<std::uint8_t>(size >> 8);
    return at;
  }

  std::vector<std::string>& errors_;
  Diagnostics diag_;
  std::vector<std::uint8_t> out_;
  std::set<std::int32_t> numbers_;
  std::set<std::string> windowNames_;
};

}  // namespace

std::vector<std::uint8_t> CompileDescriptions(const std::string& moduleTag,
                                              const std::vector<WindowSource>& windows,
                                              std::vector<std::string>& errors) {
  const std::size_t before = errors.size();
  Compiler compiler(errors);
  std::int32_t previous = 0;
  for (const WindowSource& source : windows) {
    const std::int32_t window = compiler.Window(source);
    if (window == 0) continue;
    compiler.Put32(previous ? previous + 1 : 2, window);
    previous = window;
  }
  if (windows.empty()) errors.push_back("no window sources given");
  if (errors.size() != before) return {};
  const auto& data = compiler.bytes();
  std::vector<std::uint8_t> resource(moduleTag.begin(), moduleTag.end());
  resource.push_back(0);
  resource.insert(resource.end(), data.begin() + 2, data.end());
  return resource;
}

std::vector<std::uint8_t> CompileSourceTexts(
    const std::string& moduleTag, const std::vector<std::pair<std::string, std::string>>& texts,
    std::vector<std::string>& errors) {
  std::vector<WindowSource> windows;
  for (const auto& [file, text] : texts) {
    Diagnostics diagnostics{file, {}};
    windows.push_back({file, ParseSource(text, diagnostics)});
    errors.insert(errors.end(), diagnostics.messages.begin(), diagnostics.messages.end());
  }
  std::vector<std::string> compileErrors;
  auto resource = CompileDescriptions(moduleTag, windows, compileErrors);
  errors.insert(errors.end(), compileErrors.begin(), compileErrors.end());
  if (!errors.empty()) return {};
  return resource;
}

}  // namespace lumbra::description
