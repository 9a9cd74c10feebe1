# Fails when a test under tests/ uses Qt's QTest checks (QTRY_*, QVERIFY*, QCOMPARE*). They
# report through QTest, which GoogleTest never hears of: a failing one only returns from the test
# function and the test passes. Run as `cmake -DTESTS_DIR=<tests> -P NoQtTestMacros.cmake`.
if(NOT TESTS_DIR)
  message(FATAL_ERROR "NoQtTestMacros.cmake: TESTS_DIR is not set")
endif()
# A call, not a mention: comments that name the macros without parentheses are left alone.
set(call "(^|[^A-Za-z0-9_])(QTRY_[A-Z_]+|QVERIFY[A-Z0-9_]*|QCOMPARE[A-Z_]*)[ \t]*\\(")
file(GLOB_RECURSE sources RELATIVE ${TESTS_DIR} ${TESTS_DIR}/*.cpp ${TESTS_DIR}/*.h)
set(found "")
foreach(source ${sources})
  file(STRINGS ${TESTS_DIR}/${source} hits REGEX "${call}")
  foreach(hit ${hits})
    string(STRIP "${hit}" hit)
    string(APPEND found "\n  tests/${source}: ${hit}")
  endforeach()
endforeach()
if(found)
  message(FATAL_ERROR "Qt's QTRY_/QVERIFY/QCOMPARE checks cannot fail a GoogleTest test (they report "
    "through QTest and the test passes anyway). Use EXPECT_*/ASSERT_* and, to wait for the event "
    "loop, SOLVARA_EXPECT_EVENTUALLY / SOLVARA_EXPECT_EVENTUALLY_EQ from "
    "tests/platform/linux/QtTestApplication.h:${found}")
endif()
