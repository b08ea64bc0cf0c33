#include "FormFixture.h"

#include "support/Files.h"

namespace tqz::test {

FormFixture::FormFixture()
    : m_workDir(m_dir / "drive_c" / "WTEMP")
    , m_statusFile(m_dir / "bin" / "Quorvane.ini")
    , m_help(m_dir / "drive_c")
{
    std::filesystem::create_directories(m_workDir / "zentris");
    std::filesystem::create_directories(m_dir / "bin");
    m_help.setHelpFile("\\qvndir\\ZENTRIS.chm");
}

std::unique_ptr<app::TMForm> FormFixture::makeForm(std::vector<std::string> parameters)
{
    return std::make_unique<app::TMForm>(
        app::FormSetup { std::move(parameters), m_statusFile, m_workDir }, m_ui, m_help);
}

std::filesystem::path FormFixture::exampleDocument() const
{
    const auto document = m_workDir / "zentris" / "horario.xml";
    if (!std::filesystem::exists(document)) {
        std::filesystem::copy_file(std::filesystem::path(TQZ_EXAMPLES) / "horario.xml", document);
    }
    return document;
}

std::optional<std::string> FormFixture::statusFileText() const
{
    if (!std::filesystem::exists(m_statusFile)) {
        return std::nullopt;
    }
    return readBytes(m_statusFile);
}

std::string statusFileWith(int value)
{
    return "[Transformadores]\r\nTransformado=" + std::to_string(value) + "\r\n";
}

} // namespace tqz::test
