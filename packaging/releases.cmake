# Every release of the quiz, newest first: its version, its day, and what it brought, in
# English and in Bulgarian. The newest is the project's version, which the .exe's version
# information, the installers, the .msi, the .deb, its changelog and AppStream all take.
# A check of upgrades builds a newer version with -DZUN_VERSION_OVERRIDE=X.Y.Z (dated today).
set(ZUN_RELEASES)
macro(zun_release version day english bulgarian)
    list(APPEND ZUN_RELEASES ${version})
    set(ZUN_RELEASE_${version}_DAY ${day})
    set(ZUN_RELEASE_${version}_EN "${english}")
    set(ZUN_RELEASE_${version}_BG "${bulgarian}")
    set(ZUN_RELEASE_${version}_TIME ${ARGN}) # of day, UTC; noon unless given
    if(NOT ZUN_RELEASE_${version}_TIME)
        set(ZUN_RELEASE_${version}_TIME 12:00:00)
    endif()
endmacro()

set(ZUN_VERSION_OVERRIDE "" CACHE STRING "A version to build in place of the newest release (upgrade checks)")
if(ZUN_VERSION_OVERRIDE)
    string(TIMESTAMP today "%Y-%m-%d" UTC)
    string(TIMESTAMP now "%H:%M:%S" UTC) # later than a release of the same day, as Debian wants
    zun_release(${ZUN_VERSION_OVERRIDE} ${today}
        "A build for checking upgrades." "Версия за проверка на обновяването." ${now})
endif()

zun_release(1.0.0 2026-12-08
    "First release: the quiz window, keyboard and screen-reader play."
    "Първо издание: прозорецът на викторината, игра с клавиатура и с екранен четец.")

list(GET ZUN_RELEASES 0 ZUN_VERSION)
