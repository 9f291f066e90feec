// The configuration stream through the client object, and host stream failures that cross
// the component on their way back to the host.
#include "host.h"

namespace {

constexpr GUID Unknown = {0x0F1E2D3C, 0x4B5A, 0x6978, {0x87, 0x96, 0xA5, 0xB4, 0xC3, 0xD2, 0xE1, 0xF0}};
constexpr GUID Stop = {0x13C17E8D, 0x0D6F, 0x41A4, {0xB2, 0x4A, 0x59, 0x37, 0x10, 0x43, 0xE9, 0x25}};
constexpr GUID Next = {0xE58895A0, 0xA2F0, 0x45B6, {0x87, 0x99, 0x14, 0x40, 0xE4, 0xDB, 0x72, 0x84}};

byte_string Stored(uint32_t sensitivity, uint32_t flag, const binding* items, uint32_t count, uint32_t corner = 0) {
  return Entry(SensitivityId, Value(sensitivity))
      .append(Entry(FlagId, Value(flag)))
      .append(Entry(ListId, Bindings(items, count)))
      .append(Entry(CornerId, Value(corner)))
      .append(Entry(ScreenId, Value(0)))
      .append(Entry(FullscreenId, Value(0)));
}

// How many of the host's std::exception objects are alive.
int LiveHostExceptions() {
  return int(g_exception_counts.constructed + g_exception_counts.copied) - int(g_exception_counts.destroyed);
}

// `operation` calls the component, which calls a host object that rethrows from its catch
// block: the host catches its own exception in flight, and every copy of it is destroyed.
template <class Operation>
void CheckRethrow(const char* name, rethrow_site site, Operation operation) {
  const int live = disk_error::live;
  char seen[160] = "no exception";
  bool caught = false;
  {
    rethrow inFlight(site);
    try {
      operation();
    } catch (const disk_error& error) {
      caught = strcmp(error.what(), "disk on fire") == 0 && error.sector == 4711;
      Format(seen, "disk_error \"%s\", sector %d", error.what(), error.sector);
    } catch (const std::exception& error) {
      Format(seen, "another class: \"%s\"", error.what());
    } catch (...) {
      Format(seen, "an exception of no known class");
    }
    check(inFlight.raised == 1 && caught, name, "rethrown %d times; the host caught %s", inFlight.raised, seen);
  }
  check(disk_error::live == live, name, "every disk_error destroyed: %d alive", disk_error::live - live);
}

}  // namespace

void RunConfigurationChecks(player_host&, component& loaded) {
  // The sensitivity entry at its default, byte for byte as documented.
  static const uint8_t sensitivityAt128[24] = {0x9D, 0xBF, 0xBD, 0x46, 0x8C, 0x9A, 0xCB, 0x48, 0xA5, 0xA1, 0xBC, 0x84,
                                               0x26, 0x5C, 0xC9, 0xCD, 0x04, 0x00, 0x00, 0x00, 0x80, 0x00, 0x00, 0x00};
  // The corner's entry, typed from its GUID's text 12256272-3778-4E9B-83BE-D05147047EEC.
  static const uint8_t cornerAt0[24] = {0x72, 0x62, 0x25, 0x12, 0x78, 0x37, 0x9B, 0x4E, 0x83, 0xBE, 0xD0, 0x51,
                                        0x47, 0x04, 0x7E, 0xEC, 0x04, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00};
  byte_string defaults;
  defaults.raw(sensitivityAt128, 24).append(Entry(FlagId, Value(0))).append(Entry(ListId, Value(0)));
  // The screen's and the full-screen option's, from 3FF1550A-74EE-4EE3-BAAB-1ABC218E4FCB and
  // 4E6F921F-DF3A-4D50-B2F5-AF38BFCC39EC.
  static const uint8_t screenAt0[24] = {0x0A, 0x55, 0xF1, 0x3F, 0xEE, 0x74, 0xE3, 0x4E, 0xBA, 0xAB, 0x1A, 0xBC,
                                        0x21, 0x8E, 0x4F, 0xCB, 0x04, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00};
  static const uint8_t fullscreenAt0[24] = {0x1F, 0x92, 0x6F, 0x4E, 0x3A, 0xDF, 0x50, 0x4D, 0xB2, 0xF5, 0xAF, 0x38,
                                            0xBF, 0xCC, 0x39, 0xEC, 0x04, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00};
  defaults.raw(cornerAt0, 24).raw(screenAt0, 24).raw(fullscreenAt0, 24);
  check_bytes(WriteConfiguration(loaded), defaults,
              "writing the defaults gives sensitivity, flag, empty list, corner, screen and full-screen entries");

  const binding two[2] = {{1, 0x08, Stop}, {7, 0x24, Next}};
  const byte_string stored = Stored(40, 1, two, 2);
  check(ReadConfiguration(loaded, stored), "a stored configuration is read");
  check_bytes(WriteConfiguration(loaded), stored, "writing gives back the bytes read");

  check(ReadConfiguration(loaded, byte_string{}), "an empty stream is read");
  check_bytes(WriteConfiguration(loaded), stored, "an empty stream changes nothing");

  byte_string unknown;
  for (int i = 0; i < 250; ++i) unknown.u32(0xDEADBEEF);
  check(ReadConfiguration(loaded, Entry(Unknown, unknown).append(Entry(FlagId, Value(0)))),
        "an entry of no variable is read");
  check_bytes(WriteConfiguration(loaded), Stored(40, 0, two, 2), "an entry of no variable is skipped whole");

  byte_string twoBytes, eightBytes;
  twoBytes.raw("\x05\x00", 2);
  eightBytes.u32(77).u32(99);
  check(ReadConfiguration(loaded, Entry(SensitivityId, twoBytes).append(Entry(FlagId, Value(1)))),
        "a short sensitivity entry is read");
  check_bytes(WriteConfiguration(loaded), Stored(40, 1, two, 2),
              "a short value keeps the old one; the next entry is read");
  check(ReadConfiguration(loaded, Entry(SensitivityId, eightBytes)), "a long sensitivity entry is read");
  check_bytes(WriteConfiguration(loaded), Stored(77, 1, two, 2), "a long value takes its first four bytes");

  byte_string shortList = Bindings(two, 2);
  shortList.data[0] = 3;  // claims three bindings, holds two
  check(ReadConfiguration(loaded, Entry(ListId, shortList).append(Entry(SensitivityId, Value(128)))),
        "a list entry shorter than its count is read");
  check_bytes(WriteConfiguration(loaded), Stored(128, 1, nullptr, 0),
              "the short list ends empty; the next entry is read");

  byte_string trailing = Entry(SensitivityId, Value(90));
  trailing.raw("fifteen bytes..", 15);
  check(ReadConfiguration(loaded, trailing), "fifteen bytes after the last entry are ignored");
  check_bytes(WriteConfiguration(loaded), Stored(90, 1, nullptr, 0), "the entry before them is read");

  // A stream of the earlier layout, without the corner, leaves the corner as it was; a
  // corner no version has is kept for writing back.
  check(ReadConfiguration(loaded, Entry(CornerId, Value(3)).append(Entry(SensitivityId, Value(91)))),
        "a corner entry is read");
  check(ReadConfiguration(loaded, Entry(SensitivityId, Value(92)).append(Entry(FlagId, Value(1)))),
        "a stream of the earlier layout is read");
  check_bytes(WriteConfiguration(loaded), Stored(92, 1, nullptr, 0, 3), "the earlier layout keeps the corner");
  check(ReadConfiguration(loaded, Entry(CornerId, Value(0xFFFFFFFF))), "an unknown corner is read");
  check_bytes(WriteConfiguration(loaded), Stored(92, 1, nullptr, 0, 0xFFFFFFFF), "an unknown corner is kept");
  ReadConfiguration(loaded, Entry(CornerId, Value(0)));
}

void RunInboundFailureChecks(player_host&, component& loaded) {
  abort_flag running;
  const binding one[1] = {{2, 0, Stop}};
  ReadConfiguration(loaded, Stored(50, 1, nullptr, 0));

  // The host's own truncation inside a payload belongs to the data family: dropped.
  const byte_string damaged =
      Entry(SensitivityId, Value(40)).append(Entry(FlagId, Value(0))).append(Entry(ListId, Bindings(one, 1)));
  const int liveBefore = LiveHostExceptions();
  bool read = false;
  try {
    memory_reader in(damaged, memory_reader::Truncation, 20);
    loaded.client->config_read(&in, &running);
    read = true;
  } catch (const std::exception& error) {
    note("config_read left with \"%s\"", error.what());
  } catch (...) {
  }
  check(read, "the host's exception_io_data_truncation thrown inside a payload is dropped by config_read");
  check_bytes(WriteConfiguration(loaded), Stored(50, 0, one, 1),
              "the failed value is kept and the later entries are read");
  check(LiveHostExceptions() == liveBefore, "the host's dropped exception object is destroyed",
        "%d host exception objects left", LiveHostExceptions() - liveBefore);

  // Any other host exception leaves config_read as the host's own object.
  const disk_error sample("sample", 0);
  const void* const diskTable = LayoutOf(sample).table;
  const int copiesBefore = disk_error::copies;
  bool caught = false, original = false;
  char seen[160] = "no exception";
  try {
    memory_reader in(damaged, memory_reader::Disk, 20);
    loaded.client->config_read(&in, &running);
  } catch (const disk_error& error) {
    caught = strcmp(error.what(), "disk on fire") == 0 && error.sector == 4711;
    original = LayoutOf(error).table == diskTable && strcmp(RaisedTypeName(g_last_raised), ".?AVdisk_error@@") == 0;
    Format(seen, "disk_error \"%s\", sector %d", error.what(), error.sector);
  } catch (const std::exception& error) {
    Format(seen, "another class: \"%s\"", error.what());
  } catch (...) {
    Format(seen, "an exception of no known class");
  }
  check(caught, "a host disk_error thrown inside a payload reaches the host as const disk_error&", "%s", seen);
  check(original, "it is the host's disk_error, raised with the host's own throw information", "raised as %s",
        RaisedTypeName(g_last_raised));
  if (Is64Bit) {
    const HMODULE host = GetModuleHandleW(nullptr);
    check(g_last_raised.image_base == reinterpret_cast<uintptr_t>(host),
          "it is raised with the host's image base, from which its throw information counts",
          "image base %p, the host's being %p", reinterpret_cast<void*>(g_last_raised.image_base),
          static_cast<void*>(host));
  }
  check(disk_error::live == 1, "every copy of the host's disk_error is destroyed",
        "%d alive besides the host's, %d copies", disk_error::live - 1, disk_error::copies - copiesBefore);

  // The host's truncation outside a payload leaves config_read as the host's object too.
  const quorbel_io::exception_io_data_truncation truncationSample;
  bool left = false;
  try {
    byte_string skipped = Entry(Unknown, Value(1).u32(2));
    memory_reader in(skipped, memory_reader::Truncation, 20);
    loaded.client->config_read(&in, &running);
  } catch (const quorbel_io::exception_io_data_truncation& error) {
    left = strcmp(error.what(), "Unsupported format or corrupted file") == 0 &&
           LayoutOf(error).table == LayoutOf(truncationSample).table;
  } catch (...) {
  }
  check(left, "the host's truncation from skip_object leaves config_read as the host's own object");

  // A writer's failure leaves config_write.
  caught = false;
  try {
    memory_writer broken(true);
    loaded.client->config_write(&broken, &running);
  } catch (const disk_error& error) {
    caught = strcmp(error.what(), "disk on fire") == 0 && error.sector == 4711 && LayoutOf(error).table == diskTable;
  } catch (...) {
  }
  check(caught, "a host writer's disk_error reaches the host as const disk_error&");
  check(disk_error::live == 1, "every copy of it is destroyed", "%d alive besides the host's", disk_error::live - 1);

  // A host class with no copy constructor is moved across and back, and destroyed once.
  bool plainCaught = false;
  try {
    memory_reader in(damaged, memory_reader::Plain, 20);
    loaded.client->config_read(&in, &running);
  } catch (const plain_error& error) {
    plainCaught = error.sector == 4711;
  } catch (...) {
  }
  check(plainCaught && plain_error::live == 0,
        "a host plain_error with no copy constructor reaches the host and is destroyed once", "%d alive",
        plain_error::live);

  // A host exception whose copy constructor fails while the component takes it over: the
  // copy's failure passes the component by to the host, which runs on.
  const int liveDisks = disk_error::live;
  char copySeen[160] = "no exception";
  try {
    memory_reader in(damaged, memory_reader::CopyFailing, 20);
    loaded.client->config_read(&in, &running);
  } catch (const disk_error& error) {
    Format(copySeen, "disk_error \"%s\"", error.what());
  } catch (const std::exception& error) {
    Format(copySeen, "another class: \"%s\"", error.what());
  } catch (...) {
    Format(copySeen, "an exception of no known class");
  }
  check(strcmp(copySeen, "disk_error \"copy failed\"") == 0 && disk_error::live == liveDisks,
        "a host exception whose copy constructor throws during the take-over reaches the host as that failure",
        "%s; %d disk_error objects alive", copySeen, disk_error::live - liveDisks);
  check(ReadConfiguration(loaded, Stored(50, 0, one, 1)), "the component reads on after it");

  // Host objects that rethrow from their catch blocks.
  const byte_string stored = Stored(128, 1, nullptr, 0);
  CheckRethrow("a host reader that rethrows", rethrow_site::reader, [&] {
    memory_reader in(stored);
    loaded.client->config_read(&in, &running);
  });
  CheckRethrow("a host writer that rethrows", rethrow_site::writer, [&] {
    memory_writer out;
    loaded.client->config_write(&out, &running);
  });
  CheckRethrow("a host abort signal that rethrows", rethrow_site::abort, [&] {
    memory_writer out;
    loaded.client->config_write(&out, &running);
  });
  ReadConfiguration(loaded, stored);
}
