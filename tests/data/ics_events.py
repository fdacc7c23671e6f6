# Reads an iCalendar file on stdin with a real parser (Debian's python3-icalendar) and prints one
# line per event, "UID|DTSTART|SUMMARY"; fails on anything a calendar application would refuse.
import sys
import icalendar

cal = icalendar.Calendar.from_ical(sys.stdin.buffer.read())
assert cal.get("VERSION") == "2.0" and cal.get("PRODID"), "VERSION and PRODID are required"
for event in cal.walk("VEVENT"):
    for required in ("UID", "DTSTAMP", "DTSTART", "SUMMARY"):
        assert event.get(required) is not None, required + " missing"
    start = event.decoded("DTSTART")
    end = event.decoded("DTEND")
    assert (end - start).days == 1, "an all-day event lasts one day"
    print(f"{event['UID']}|{start.isoformat()}|{event['SUMMARY']}")
