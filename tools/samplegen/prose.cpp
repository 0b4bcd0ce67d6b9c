#include "prose.h"

namespace samplegen {

const std::vector<std::string>& printingHistory() {
    static const std::vector<std::string> paragraphs = {
        "Long before anyone set a single piece of metal type, printers in East Asia cut whole "
        "pages into blocks of wood. A carver pasted a written sheet face down on a smooth board, "
        "cut away everything that was not ink, and left the characters standing in relief. The "
        "block could be inked and pressed against paper hundreds of times, and a workshop that "
        "kept its blocks could print the same book again years later.",

        "Movable type changed the economics of the page. Instead of carving a page once, a "
        "printer cast a stock of single letters and arranged them into lines, then into pages, "
        "and finally broke the pages up again so that the same letters could serve the next "
        "sheet. The idea appeared in several places, with type made of baked clay, of wood and "
        "later of metal, but it spread most quickly where the writing system needed only a few "
        "dozen different signs.",

        "Casting type by hand was slow and exacting work. The punchcutter engraved each letter "
        "in hard steel, the punch was struck into softer copper to make a matrix, and the matrix "
        "was locked into a hand mould into which molten metal was poured. A skilled caster could "
        "make several thousand letters in a day, every one of them the same height to a fraction "
        "of a millimetre, which is what allowed a forme full of type to print evenly.",

        "The compositor stood at a case divided into small compartments, one for each letter, "
        "figure and mark of punctuation. Capitals lived in the upper part of the case and small "
        "letters in the lower, which is where the words uppercase and lowercase come from. "
        "Letters were picked one at a time into a composing stick, spaces of different widths "
        "were added until each line was exactly as long as the measure, and the finished lines "
        "were slid onto a galley.",

        "A wooden hand press could print only one side of a sheet at a time, and two people "
        "working together might manage a few hundred impressions in an hour. One inked the forme "
        "with leather balls while the other laid the damp paper on the tympan, folded it down, "
        "rolled the bed under the platen and pulled the bar. Iron presses made the impression "
        "heavier and more even, but the rhythm of the work stayed much the same.",

        "Steam power and the cylinder press turned printing into an industry. Newspapers that "
        "had once been pulled sheet by sheet were now fed from large rolls of paper and printed "
        "on both sides at once, thousands of copies an hour. Typesetting remained the slowest "
        "step until machines arrived that cast a whole line of type from brass matrices "
        "assembled at a keyboard, so that one operator could do the work of several hand "
        "compositors.",

        "Lithography took a different path altogether. It relies on the fact that grease and "
        "water do not mix: an image drawn on a flat stone with a greasy crayon accepts ink, while "
        "the wetted stone around it repels it. Offset printing carried the same principle to thin "
        "metal plates and added a rubber blanket between the plate and the paper, and for most of "
        "the twentieth century it was the way books, magazines and packaging were printed.",

        "Photographic typesetting replaced hot metal with film. Letters were exposed one after "
        "another through a negative onto light-sensitive paper, which made it easy to change the "
        "size of the type and to set text on a curve or at an angle. The galleys came out of the "
        "machine as long strips of paper that were cut with a knife and waxed onto boards, and "
        "those pasted-up boards were then photographed to make the printing plates.",

        "With digital type the letters became outlines described by mathematics rather than "
        "objects of metal or film. A page could now be described as a list of drawing "
        "instructions, and the same description could be sent to a laser printer on a desk or to "
        "an imagesetter in a print shop. A portable page format grew out of this idea: it keeps "
        "the text, the fonts and the pictures together in one file that looks the same wherever "
        "it is opened.",

        "Good printing has always been a matter of small decisions that the reader is not meant "
        "to notice: the space between the lines, the width of the column, the distance between "
        "two columns, the size of the margins. A column that is too wide tires the eye, because "
        "it becomes hard to find the beginning of the next line; one that is too narrow breaks "
        "the text into so many short lines that the rhythm of reading is lost.",
    };
    return paragraphs;
}

const std::vector<std::string>& markupGuide() {
    static const std::vector<std::string> paragraphs = {
        "Reading has always gone hand in hand with marking. Scribes added notes in the margins "
        "of the books they copied, students underlined the lines they had to learn by heart, and "
        "editors struck out the words they wanted removed. The marks tell a later reader what "
        "someone found important, what they doubted and what they wanted to change, and they are "
        "often as interesting as the text itself.",

        "A text markup tool brings these habits to the screen. Choose Highlight, Underline or "
        "Strikeout in the ribbon, press the left mouse button at the start of the passage you "
        "want to mark and drag to its end. The characters you pass over are painted while you "
        "drag, and when you release the button the marking is added to the page. If the passage "
        "runs over several lines, each line gets its own band of colour.",

        "Every kind of marking remembers the colour you used last. Open the small arrow next to "
        "the button to pick another colour from the palette; the choice is kept for the next "
        "time you use the same kind of marking, even after the application has been closed and "
        "opened again. Highlights are drawn with a translucent ink so that the text underneath "
        "stays readable, while underlines and strikeouts are thin lines in the chosen colour.",

        "If you have already selected some text with the ordinary selection tool, clicking one "
        "of the markup buttons marks that selection at once. Otherwise the button switches the "
        "pointer into marking mode, and you can mark as many passages as you like one after "
        "another. A drag may also cross from one page to another: each page then receives its "
        "own marking, and all of them can be undone together in a single step.",

        "Markings are annotations, which means they are kept as part of the file and not as a "
        "picture painted over the page. Other readers can list them, jump from one to another, "
        "change their colour or delete them, and a search through the file still finds the "
        "words underneath. Because the marking follows the characters rather than the pixels, it "
        "stays in place when the page is zoomed, turned or printed.",

        "When a line of text is made of several pieces, for example a word in a different font "
        "or a run of letters on a raised baseline, the marking follows each piece. Characters "
        "that sit on the same line and share the same top and bottom edges are joined into a "
        "single band, so a highlight over an ordinary sentence looks like one smooth stroke "
        "rather than a row of separate boxes.",
    };
    return paragraphs;
}

} // namespace samplegen
