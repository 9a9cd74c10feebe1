#pragma once

#include <optional>

#include <QString>

namespace solvara {

// One literature reference of a science card. The title is kept with the reference but not
// shown.
struct Citation {
    QString authors;
    QString year;
    QString title;
    QString journal;
    std::optional<QString> doi;    // without a resolver prefix
    std::optional<QString> pmcID;  // an open-archive article identifier

    // The paper's address: the DOI resolver's when there is a DOI, else the archive's page for
    // the identifier (with a final "/"); nothing without either, or when the text is no URL.
    std::optional<QString> url() const;

    static constexpr const char* doiResolver = "https://doi.org/";
    static constexpr const char* articleArchive = "https://www.ncbi.nlm.nih.gov/pmc/articles/";
};

}  // namespace solvara
