// Code page 1250: every byte decodes as the toolkit's converter decodes it.
#include "scenario/Cp1250.h"

#include <QString>
#include <QStringDecoder>
#include <gtest/gtest.h>

namespace {

TEST(Cp1250, AllBytesMatchTheReferenceDecoder) {
    QStringDecoder reference("windows-1250");
    ASSERT_TRUE(reference.isValid());
    for (int b = 0; b < 256; ++b) {
        const char byte = static_cast<char>(b);
        const QString expected = reference(QByteArray(&byte, 1));
        ASSERT_EQ(expected.size(), 1) << "byte " << b;
        EXPECT_EQ(scenario::Cp1250ToUnicode(static_cast<unsigned char>(b)), expected.at(0).unicode())
            << "byte 0x" << std::hex << b;
        EXPECT_EQ(QString::fromStdString(scenario::Cp1250ToUtf8(std::string(1, byte))), expected)
            << "byte 0x" << std::hex << b;
    }
}

TEST(Cp1250, PolishTextKeepsOneCharacterPerByte) {
    // "Żółć" in code page 1250.
    const std::string bytes = "\xAF\xF3\xB3\xE6";
    const QString text = QString::fromStdString(scenario::Cp1250ToUtf8(bytes));
    EXPECT_EQ(text, QString::fromUtf8("Żółć"));
    EXPECT_EQ(text.size(), 4);
}

} // namespace
