// The web edition in headless Chromium: each page at a phone's and a desktop's size, no sideways
// scrolling of the page, no serious or critical finding of axe-core; a screenshot of each.
// Usage: node web-edition.mjs BASE_URL SCREENSHOT_DIR PAGE...
import { chromium } from 'playwright-core';
import { createRequire } from 'node:module';
import { mkdirSync } from 'node:fs';

const require = createRequire(import.meta.url);
const axePath = require.resolve('axe-core/axe.min.js');
const [base, shots, ...pages] = process.argv.slice(2);
if (!base || !shots || pages.length === 0) {
  console.error('usage: node web-edition.mjs BASE_URL SCREENSHOT_DIR PAGE...');
  process.exit(2);
}
mkdirSync(shots, { recursive: true });

const sizes = [{ width: 360, height: 740 }, { width: 1366, height: 768 }];
const browser = await chromium.launch({
  executablePath: process.env.CHROMIUM || '/usr/bin/chromium',
  headless: true,
  args: ['--no-sandbox', '--no-proxy-server'],
});
let faults = 0;
try {
  for (const size of sizes) {
    // The pages forbid every script: the check's own needs the policy lifted.
    const context = await browser.newContext({ viewport: size, bypassCSP: true });
    const page = await context.newPage();
    for (const name of pages) {
      const answer = await page.goto(base + name, { timeout: 15000 });
      if (!answer || answer.status() !== 200) {
        console.log(`${name} ${size.width}: status ${answer && answer.status()}`);
        faults++;
        continue;
      }
      const overflow = await page.evaluate(() => document.documentElement.scrollWidth - window.innerWidth);
      await page.addScriptTag({ path: axePath });
      const result = await page.evaluate(async () => await window.axe.run(document));
      const bad = result.violations.filter((v) => v.impact === 'serious' || v.impact === 'critical');
      for (const v of bad)
        console.log(`${name} ${size.width}: ${v.impact} ${v.id} (${v.nodes.length}) ${v.nodes[0].target}`);
      if (overflow > 0)
        console.log(`${name} ${size.width}: the page scrolls sideways by ${overflow} px`);
      faults += bad.length + (overflow > 0 ? 1 : 0);
      await page.screenshot({ path: `${shots}/web-${name.replace(/\.html$/, '')}-${size.width}.png`, fullPage: size.width > 400 ? false : true });
      console.log(`${name} ${size.width}: ${overflow > 0 ? 'overflow' : 'ok'}, ${bad.length} serious/critical`);
    }
    await context.close();
  }
} finally {
  await browser.close();
}
process.exit(faults ? 1 : 0);
