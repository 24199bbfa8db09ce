#include "app/tags/Tag.h"

#include "app/platform/Platform.h"
#include "app/platform/ScreenFont.h"

namespace {
std::string Describe(const std::string& file, int line, int column, const std::string& detail,
                     const std::vector<std::string>& chain) {
    std::string text = file;
    if (line > 0) {
        text += ":" + std::to_string(line) + ":" + std::to_string(column);
    }
    text += ": " + detail;
    if (chain.size() > 1) {
        text += " (loaded through ";
        for (std::size_t i = 0; i < chain.size(); ++i) {
            text += (i ? " -> " : "") + chain[i];
        }
        text += ")";
    }
    return text;
}
} // namespace

TagError::TagError(std::string file, int line, int column, std::string detail,
                   std::vector<std::string> chain)
    : std::runtime_error(Describe(file, line, column, detail, chain)), file_(std::move(file)),
      line_(line), column_(column), detail_(std::move(detail)), chain_(std::move(chain)) {}

TagError TagError::ReferredFrom(const std::string& referrer) const {
    std::vector<std::string> chain = chain_;
    chain.insert(chain.begin(), referrer);
    return TagError(file_, line_, column_, detail_, std::move(chain));
}

std::string TagError::Explain() const {
    std::string text = "\"" + file_ + "\"";
    if (line_ > 0) {
        text += " (line " + std::to_string(line_) + ", column " + std::to_string(column_) + ")";
    }
    text += ": " + detail_;
    if (chain_.size() > 1) {
        text += "\n\nReferred to by:";
        for (std::size_t i = 0; i + 1 < chain_.size(); ++i) {
            text += "\n  " + chain_[i];
        }
    }
    return text;
}

void TPlaceable::Place(int parentX, int parentY) {
    absX = parentX + x;
    absY = parentY + y;
}

void RecreateScreenFont(std::unique_ptr<IScreenFont>& font, const std::string& faceName, int size) {
    font.reset();
    IScreenFontFactory* factory = Platform().screenFontFactory;
    if (!faceName.empty() && size > 0 && factory) {
        font = factory->CreateScreenFont(faceName, size);
    }
}
