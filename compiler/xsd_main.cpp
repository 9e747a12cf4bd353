// xsd_main.cpp: the command line of tessel16-xsd. It reads the schemas, resolves them and
// writes one header and one source (or --split N sources) for the whole set; any problem ends
// in one message with file:line:col and exit status 1.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iostream>

#include "schema_model.h"
#include "tessel16/exception.h"
#include "tessel16/switches.h"
#include "tessel16/version.h"

namespace {

const char* const kUsage =
    "Usage: tessel16-xsd [options] SCHEMA.xsd... -o DIR\n"
    "Writes DIR/<prefix><name>.h and .cpp: the binding of the schemas and of every schema\n"
    "they include or import.\n\n"
    "Options:\n"
    "  -o, --output DIR         where to write the files (default: .)\n"
    "  --name NAME              file name stem (default: the first schema's name + _binding)\n"
    "  --file-prefix PREFIX     put PREFIX in front of the file names\n"
    "  --namespace [URI=]NAME   C++ namespace for a target namespace; without URI, for the\n"
    "                           first schema's (default: derived from the URI, see the docs)\n"
    "  --split N                write N sources, DIR/<prefix><name>_1.cpp ... _N.cpp, so a\n"
    "                           large binding compiles in parallel (default: 1, one .cpp)\n"
    "  --depfile FILE           also write the schema files read, as a make dependency file\n"
    "  --help                   show this text\n"
    "  --version                show the version\n";

std::string Stem(const std::string& path) {
    std::string name = path.substr(path.find_last_of('/') + 1);
    return name.substr(0, name.rfind('.'));
}

}  // namespace

int main(int argc, char** argv) {
    xsd::Options options;
    std::string depfile;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        auto value = [&]() -> std::string {
            if (i + 1 >= argc) {
                std::fprintf(stderr, "tessel16-xsd: %s needs a value\n%s", arg.c_str(), kUsage);
                std::exit(2);
            }
            return argv[++i];
        };
        if (arg == "--help" || arg == "-h") {
            std::fputs(kUsage, stdout);
            return 0;
        } else if (arg == "--version") {
            std::printf("tessel16-xsd %s\n", TESSEL16_VERSION_STRING);
            return 0;
        } else if (arg == "-o" || arg == "--output") {
            options.outputDir = value();
        } else if (arg == "--name") {
            options.outputName = value();
        } else if (arg == "--file-prefix") {
            options.filePrefix = value();
        } else if (arg == "--namespace") {
            const std::string mapping = value();
            const std::size_t equals = mapping.rfind('=');
            if (equals == std::string::npos)
                options.namespaceMap[""] = mapping;
            else
                options.namespaceMap[mapping.substr(0, equals)] = mapping.substr(equals + 1);
        } else if (arg == "--split") {
            const std::string count = value();
            char* end = nullptr;
            const long parts = std::strtol(count.c_str(), &end, 10);
            if (count.empty() || *end != '\0' || parts < 1 || parts > 1000) {
                std::fprintf(stderr, "tessel16-xsd: --split needs a count from 1 to 1000, not '%s'\n",
                             count.c_str());
                return 2;
            }
            options.sourceFiles = static_cast<int>(parts);
        } else if (arg == "--depfile") {
            depfile = value();
        } else if (!arg.empty() && arg[0] == '-') {
            std::fprintf(stderr, "tessel16-xsd: unknown option %s\n%s", arg.c_str(), kUsage);
            return 2;
        } else {
            options.schemas.push_back(arg);
        }
    }
    if (options.schemas.empty()) {
        std::fputs(kUsage, stderr);
        return 2;
    }
    if (options.outputName.empty()) options.outputName = Stem(options.schemas[0]) + "_binding";
    // The loader checks the generator version like every other entry point.
    Tessel16::Register(16, 1, "tessel16-xsd", "", "");
    try {
        std::vector<std::string> files;
        xsd::Model model = xsd::BuildModel(options, &files);
        xsd::EmitBinding(model, options, options.outputName);
        if (!depfile.empty()) {
            std::ofstream out(depfile, std::ios::trunc);
            out << options.outputDir << "/" << options.filePrefix << options.outputName << ".h:";
            for (const std::string& file : files) out << " \\\n  " << file;
            out << "\n";
        }
    } catch (const xsd::SchemaError& error) {
        std::fprintf(stderr, "%s\n", error.what());
        return 1;
    } catch (const Tessel16::CTsException& error) {
        std::fprintf(stderr, "tessel16-xsd: %s\n", error.GetFullMessage().c_str());
        return 1;
    } catch (const std::exception& error) {
        std::fprintf(stderr, "tessel16-xsd: %s\n", error.what());
        return 1;
    }
    return 0;
}
