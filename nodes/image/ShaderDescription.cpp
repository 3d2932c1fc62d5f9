#include "nodes/image/ShaderDescription.h"

#include "nodes/image/EffectLibrary.h"
#include "platform/Debug.h"
#include "platform/FileLimits.h"
#include "platform/Paths.h"

#include <algorithm>
#include <climits>
#include <cstdlib>

namespace vorn::nodes {

namespace {

constexpr std::size_t kMaxWord = 255;
constexpr std::size_t kMaxQuoted = 255;
constexpr std::size_t kMaxSource = ShaderDescription::kSourceCapacity - 1;

bool isSpace(int c) { return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r'; }

// atoi without its undefined overflow: out-of-range numbers saturate.
int32_t toInt(const std::string& word) {
    long value = std::strtol(word.c_str(), nullptr, 10);
    if (value > INT32_MAX) return INT32_MAX;
    if (value < INT32_MIN) return INT32_MIN;
    return int32_t(value);
}

float toFloat(const std::string& word) { return std::strtof(word.c_str(), nullptr); }

// Characters from an open file.
class FileSource {
public:
    explicit FileSource(std::FILE* file) : file_(file) {}
    int get() { return getc_unlocked(file_); }
    void unget(int c) { std::ungetc(c, file_); }
    // Appends up to limit bytes of the rest; true when more were left.
    bool readRest(std::string& out, std::size_t limit) {
        char buffer[4096];
        while (out.size() < limit) {
            std::size_t wanted = std::min(sizeof buffer, limit - out.size());
            std::size_t got = std::fread(buffer, 1, wanted, file_);
            out.append(buffer, got);
            if (got < wanted) return false;
        }
        return get() != EOF;
    }

private:
    std::FILE* file_;
};

// Characters from memory.
class TextSource {
public:
    explicit TextSource(std::string_view text) : text_(text) {}
    int get() { return pos_ < text_.size() ? static_cast<unsigned char>(text_[pos_++]) : EOF; }
    void unget(int c) {
        if (c != EOF && pos_ > 0) --pos_;
    }
    bool readRest(std::string& out, std::size_t limit) {
        std::string_view rest = text_.substr(pos_);
        std::size_t taken = std::min(rest.size(), limit - std::min(limit, out.size()));
        out.append(rest.substr(0, taken));
        pos_ = text_.size();
        return taken < rest.size();
    }

private:
    std::string_view text_;
    std::size_t pos_ = 0;
};

template <class Source>
class DescriptionReader {
public:
    DescriptionReader(Source& source, ShaderDescription& description, std::string_view origin)
        : in_(source), out_(description), origin_(origin) {}

    void read() {
        std::string word;
        while (readWord(word)) {
            if (word == "Type") {
                readWord(word);
            } else if (word == "Name") {
                out_.name = readQuoted();
                out_.secondName = readQuoted();
            } else if (word == "Input") {
                readInput();
            } else if (word == "Param") {
                readParam();
            } else if (word == "Source") {
                out_.source.clear();
                out_.sourceMissing = false;
                if (in_.readRest(out_.source, kMaxSource)) reportTruncated();
                return;
            } else if (word == "SourceLib") {
                readWord(word);
                useLibrarySource(word);
            }
        }
    }

private:
    int get() {
        int c = in_.get();
        if (c == EOF) atEnd_ = true;
        return c;
    }

    // A blank-separated word of at most 255 characters (a longer one goes on
    // as the next word); the character that ends it stays unread. A trailing
    // "," is dropped. False at the end of the input.
    bool readWord(std::string& word) {
        word.clear();
        int c;
        do c = get();
        while (c != EOF && isSpace(c));
        if (c == EOF) return false;
        for (;;) {
            word.push_back(char(c));
            if (word.size() == kMaxWord) break;
            c = get();
            if (c == EOF) break;
            if (isSpace(c)) {
                in_.unget(c);
                break;
            }
        }
        if (word.back() == ',') word.pop_back();
        return true;
    }

    // Blanks skipped; "..." gives its contents (the first 255 characters kept)
    // and also consumes the character after the closing quote; anything else
    // gives an empty text and is consumed.
    std::string readQuoted() {
        std::string text;
        int c;
        do c = get();
        while (c == ' ');
        if (c != '"') return text;
        while ((c = get()) != EOF && c != '"')
            if (text.size() < kMaxQuoted) text.push_back(char(c));
        if (c == '"') get();
        return text;
    }

    void readInput() {
        std::string word;
        readWord(word);
        int32_t index = toInt(word);
        std::string name = readQuoted();
        std::string type = readQuoted();
        if (index < 0 || index >= ShaderDescription::kMaxInputs) {
            platform::debugLine(std::string(origin_) + ": input index " + std::to_string(index) +
                                " outside 0.." + std::to_string(ShaderDescription::kMaxInputs - 1) +
                                ", line ignored");
            return;
        }
        if (out_.inputNames.size() < std::size_t(index) + 1) out_.inputNames.resize(std::size_t(index) + 1);
        out_.inputNames[std::size_t(index)] = std::move(name);
        out_.inputTypes.push_back(inputTypeSlot(type));
    }

    void readParam() {
        std::string word;
        readWord(word);
        int32_t index = toInt(word);
        std::string name = readQuoted();
        std::string type;
        readWord(type);

        // The values of a refused line are still read, so the words after it
        // are not taken for keys.
        ShaderParam dropped;
        ShaderParam* param = &dropped;
        if (index < 0 || index >= ShaderDescription::kMaxParameters) {
            platform::debugLine(std::string(origin_) + ": parameter index " + std::to_string(index) +
                                " outside 0.." + std::to_string(ShaderDescription::kMaxParameters - 1) +
                                ", line ignored");
        } else {
            if (out_.parameters.size() < std::size_t(index) + 1) out_.parameters.resize(std::size_t(index) + 1);
            param = &out_.parameters[std::size_t(index)];
        }
        param->name = std::move(name);
        readParamValues(type, *param);
    }

    float readFloat() {
        std::string word;
        readWord(word);
        return toFloat(word);
    }

    int32_t readInt() {
        std::string word;
        readWord(word);
        return toInt(word);
    }

    void readParamValues(const std::string& type, ShaderParam& param) {
        if (type == "float" || type == "floatEvolution" || type == "int") {
            param.kind = type == "int" ? ShaderParam::IntFloat : ShaderParam::Float;
            param.clamp = type == "floatEvolution" ? 0 : 1;
            param.minimum = readFloat();
            param.maximum = readFloat();
            param.defaultValue = readFloat();
            param.value = param.defaultValue;
        } else if (type == "option") {
            param.kind = ShaderParam::Choice;
            int32_t count = readInt();
            param.choices.clear();
            // Every text read takes at least one character, so the end of the
            // file bounds the list whatever the count says.
            for (int32_t i = 0; i < count && !atEnd_; ++i) param.choices.push_back(readQuoted());
            param.choice = readInt();
        } else if (type == "direction") {
            param.kind = ShaderParam::Direction;
            param.direction[0] = readFloat();
            param.direction[1] = readFloat();
        } else if (type == "position") {
            param.kind = ShaderParam::Position;
            param.position[0] = readFloat();
            param.position[1] = readFloat();
        } else if (type == "color") {
            param.kind = ShaderParam::Colour;
            for (float& channel : param.colour) channel = readFloat();
        } else if (type == "rocket") {
            param.kind = ShaderParam::SyncTrack;
            param.defaultValue = readFloat();
            param.value = param.defaultValue;
        }
        // Any other type word leaves the entry's kind as it was and reads no values.
    }

    void useLibrarySource(const std::string& libraryName) {
        out_.source.clear();
        const std::string* source = effectLibrarySource(libraryName);
        out_.sourceMissing = source == nullptr;
        if (!source) {
            platform::debugLine(std::string(origin_) + ": no library source named \"" + libraryName + "\"");
            return;
        }
        out_.source.assign(*source, 0, std::min(source->size(), kMaxSource));
        if (source->size() > kMaxSource) reportTruncated();
    }

    void reportTruncated() {
        platform::debugLine(std::string(origin_) + ": source longer than " + std::to_string(kMaxSource) +
                            " bytes, truncated");
    }

    Source& in_;
    ShaderDescription& out_;
    std::string_view origin_;
    bool atEnd_ = false;
};

}  // namespace

int32_t inputTypeSlot(std::string_view word) {
    if (word == "geometry") return 1;
    if (word == "normaldepth") return 2;
    if (word == "property") return 3;
    return 0;  // "rgba" and anything else: the main picture
}

bool ParseShaderDescription(const std::string& path, ShaderDescription& description) {
    description = ShaderDescription{};
    std::string shown = platform::displayPath(path), whyNot;
    std::FILE* file = platform::openFile(path, "rb", &whyNot, platform::kMaxTextFileBytes);
    if (!file) {
        platform::debugLine("cannot read shader description " + shown + ": " + whyNot);
        return false;
    }
    FileSource source(file);
    DescriptionReader<FileSource>(source, description, shown).read();
    std::fclose(file);
    return true;
}

void parseShaderDescriptionText(std::string_view text, ShaderDescription& description, std::string_view origin) {
    description = ShaderDescription{};
    TextSource source(text);
    DescriptionReader<TextSource>(source, description, origin).read();
}

}  // namespace vorn::nodes
