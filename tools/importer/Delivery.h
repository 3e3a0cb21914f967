// The delivery build: an authoring copy to the browsing volume (X1-X5.db and the outline X6.dl_
// for the volume's letter). Link rows become runs of link bytes over the text the browser
// renders; the reference index comes from the links between articles; the outline table
// becomes the outline file, with a node for every article. The CD table is rewritten to the
// delivered rows, so the link editor finds each article by the Gyo the browser shows.
#pragma once

#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

#include "store/VolumeWriter.h"
#include "tools/importer/AuthoringCopy.h"

namespace importer {

class DeliveryError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

struct LawDeliverySummary {
    int code = 0;
    std::string name;      // UTF-8
    int articles = 0;
    int links = 0;         // link runs in the text
    int referenceSearchLinks = 0;
    int references = 0;    // reference index rows of this law's articles
};

struct Delivery {
    store::LawVolumeContent content;
    std::vector<LawDeliverySummary> laws;
    std::vector<std::string> problems;  // UTF-8: links whose phrase or target was not found
    std::size_t replacedCharacters = 0;  // text of the authoring copy code page 932 cannot hold
};

// Builds the browsing content of volume `volume` (0 to 5) from an authoring copy in memory.
// Throws DeliveryError when the rows' 行 are not whole, positive and distinct.
Delivery buildDelivery(const AuthoringVolume& authoring, int volume);

// Reads the authoring copy under root, writes the browsing files into target and the CD table
// back into the authoring copy.
Delivery deliverVolume(const std::filesystem::path& root, int volume, const std::filesystem::path& target);

std::string summaryLine(const LawDeliverySummary& s);

}  // namespace importer
