#pragma once

namespace q540 {

// C0 and C1 control characters (U+0000..U+001F, U+007F..U+009F). The module
// would show their codes as letters (a TAB as Ż, ESC as ä), so no field takes
// one and no write sends one.
constexpr bool isControlCharacter(int unit)
{
    return (unit >= 0 && unit < 0x20) || (unit >= 0x7F && unit <= 0x9F);
}

} // namespace q540
