/* The baseline of a sender run: a C program that does nothing. */
int main(void)
{
    return 0;
}
