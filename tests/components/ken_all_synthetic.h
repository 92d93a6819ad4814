// KEN_ALL.CSV files made from the real Tokyo excerpt: the excerpt's lines
// repeated under other prefectures. Most copies give their cities a name of
// their own; every fifth keeps Tokyo's names, so that same-named cities
// stand in more than one prefecture as they do in the real file.
#pragma once

#include "components/core/cp932.h"
#include "components/formats/post_read.h"

#include <QFile>
#include <QString>
#include <string>
#include <string_view>
#include <vector>

namespace ken_all_synthetic {

// The real excerpt's bytes (Tokyo, CP932, CR LF).
inline std::string tokyoExcerpt(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    const QByteArray bytes = f.readAll();
    return std::string(bytes.constData(), std::size_t(bytes.size()));
}

// The excerpt under the first `prefectures` prefectures, in their order:
// 30 of them make a file of the real one's size (about 125,000 lines).
inline std::string make(const std::string& tokyo, int prefectures)
{
    const SjisString tokyoName = sj("東京都"), tokyoColumns = "\"" + tokyoName + "\",\"";
    const std::vector<SjisString>& names = postal::prefectureNames();
    std::string out;
    out.reserve(tokyo.size() * std::size_t(prefectures) * 11 / 10);
    for (int p = 0; p < prefectures; ++p) {
        const SjisString& name = names[std::size_t(p) % names.size()];
        const bool ownNames = p % 5 != 0 && name != tokyoName;
        // An own name starts with the prefecture's first character.
        const SjisString columns = "\"" + name + "\",\"" + (ownNames ? name.substr(0, 2) : SjisString());
        std::size_t start = 0;
        while (start < tokyo.size()) {
            std::size_t end = tokyo.find('\n', start);
            end = end == std::string::npos ? tokyo.size() : end + 1;
            std::string line = tokyo.substr(start, end - start);
            if (const std::size_t at = line.find(tokyoColumns); at != std::string::npos)
                line.replace(at, tokyoColumns.size(), columns);
            out += line;
            start = end;
        }
    }
    return out;
}

}  // namespace ken_all_synthetic
