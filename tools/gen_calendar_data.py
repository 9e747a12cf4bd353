#!/usr/bin/env python3
"""Writes tests/data/values/calendar.txt: random dateTimes with what Python's datetime (an
independent proleptic Gregorian implementation) says about them, for the CDateTime
cross-check test. Run once and commit the output; the seed keeps it reproducible.

Columns: lexical dateTime (with Z, an offset or no zone), seconds since 1970-01-01T00:00:00Z
of the value (no zone read as UTC), weekday of that instant (1 = Sunday .. 7 = Saturday),
day of year of the written date, the value moved to UTC in lexical form.
"""
import datetime
import os
import random

ROWS = 3000


def main():
    rng = random.Random(20041029)
    epoch = datetime.datetime(1970, 1, 1, tzinfo=datetime.timezone.utc)
    here = os.path.dirname(os.path.abspath(__file__))
    out_path = os.path.join(here, "..", "tests", "data", "values", "calendar.txt")
    with open(out_path, "w", encoding="ascii") as out:
        out.write("# lexical|unix_seconds|weekday_sunday1|day_of_year|utc_lexical\n")
        for _ in range(ROWS):
            # Years 2..9998 keep the UTC reading inside datetime's range for any offset.
            year = rng.randint(2, 9998)
            ordinal = rng.randint(
                datetime.date(year, 1, 1).toordinal(), datetime.date(year, 12, 31).toordinal())
            date = datetime.date.fromordinal(ordinal)
            clock = datetime.time(rng.randint(0, 23), rng.randint(0, 59), rng.randint(0, 59))
            zone_kind = rng.choice(["none", "Z", "offset"])
            if zone_kind == "offset":
                minutes = rng.choice([0, 15, 30, 45]) + 60 * rng.randint(0, 14)
                sign = rng.choice([1, -1])
                tz = datetime.timezone(datetime.timedelta(minutes=sign * minutes))
                # A zero offset is written +00:00 whatever sign was drawn.
                suffix = "%s%02d:%02d" % ("-" if sign < 0 and minutes else "+", minutes // 60,
                                          minutes % 60)
            else:
                tz = datetime.timezone.utc
                suffix = "Z" if zone_kind == "Z" else ""
            value = datetime.datetime.combine(date, clock, tzinfo=tz)
            utc = value.astimezone(datetime.timezone.utc)
            seconds = (utc - epoch) // datetime.timedelta(seconds=1)
            weekday = utc.isoweekday() % 7 + 1
            lexical = value.strftime("%Y-%m-%dT%H:%M:%S").rjust(19, "0") + suffix
            utc_lexical = "%04d-%02d-%02dT%02d:%02d:%02d" % (
                utc.year, utc.month, utc.day, utc.hour, utc.minute, utc.second)
            if zone_kind == "offset":
                utc_lexical += "+00:00"
            else:
                utc_lexical += suffix
            out.write("%s|%d|%d|%d|%s\n" % (lexical, seconds, weekday,
                                            value.timetuple().tm_yday, utc_lexical))


if __name__ == "__main__":
    main()
