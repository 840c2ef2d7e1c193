/* A program that only carries resources: the version query's test files. */
int main(void)
{
    return 0;
}
