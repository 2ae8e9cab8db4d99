// Imported first by every browser test: without Chromium there is nothing to drive, and
// the test says so and skips (exit 77, which ctest counts as skipped). CI installs it
// (scripts/setup), so there the tests always run.
import fs from "node:fs";
import { chromiumPath } from "./harness.mjs";

if (!fs.existsSync(chromiumPath)) {
    console.log(`SKIPPED: ${chromiumPath} is not installed (scripts/setup installs chromium)`);
    process.exit(77);
}
