#include "forms/frmHelp.h"

#include "AppIdentity.h"

namespace {

std::string padded(int number, std::size_t digits) {
    std::string text = std::to_string(number);
    return text.size() < digits ? std::string(digits - text.size(), '0') + text : text;
}

}  // namespace

std::string VersionLine(const std::string& title, int major, int minor, int revision,
                        const std::string& comments) {
    return title + " version " + std::to_string(major) + "." + padded(minor, 2) + "." +
           padded(revision, 3) + " " + comments;
}

std::string VersionLine() {
    return VersionLine(identity::Title, identity::Major, identity::Minor, identity::Revision,
                       identity::Comments);
}
